// forms_check_win32 HIDDEN_MS: drives the Win32 forms backend for tests/wine/forms_check.sh.
// It reports facts about the process, checks the backend in-process, then keeps the form
// "Vellora forms check" hidden for HIDDEN_MS milliseconds and shows it. Input events are
// reported; a close request shows a message box and ends the process with EndProcessNow.
// Started without arguments (as opening it as a document starts it), it only writes
// started.txt beside itself; started with "decimal", it only reports the user's decimal
// separator.
#include <cstdlib>
#include <string>

#include "forms_check_probes.h"
#include "forms_check_report.h"
#include "forms_check_scene.h"
#include "forms_check_services.h"

using namespace vellora::shell;
using namespace vellora::shell::forms_check;

int main(int argc, char** argv) {
  std::unique_ptr<FormsPlatform> platform = CreateFormsPlatform(argc, argv);
  if (platform->CommandLine().empty()) return RunAsStartedProgram(*platform);
  Fact("decimal", "[" + platform->UserNumberFormat().decimalSeparator + "]");
  if (platform->CommandLine() == "decimal") return 0;
  const int hiddenMs = argc > 1 ? std::atoi(argv[1]) : 3000;

  Fact("command-line", "[" + platform->CommandLine() + "]");
  Fact("folder", "[" + platform->ApplicationFolder() + "]");
  const PixelSize screen = platform->ScreenSize();
  Fact("screen", std::to_string(screen.width) + " " + std::to_string(screen.height));
  Fact("twips", std::to_string(platform->TwipsPerPixelX()) + " " + std::to_string(platform->TwipsPerPixelY()));
  PixelPoint cursor;
  Verdict(platform->CursorPosition(cursor), "the cursor position is read");
  platform->ShowCursor(false);
  platform->ShowCursor(true);

  ProbeText(*platform);
  ProbeTimersAndLoops(*platform);
  ProbeWindows(*platform);
  ProbeWindowIcon(*platform);
  ProbeProgramIcons(*platform);
  ProbeOpenDocument(*platform);

  Scene scene(*platform);
  ProbeComboBox(*platform, scene.Window());
  ProbeBusyPointer(*platform, scene.Window());
  Fact("probes-failed", std::to_string(FailedVerdicts()));

  Fact("hidden", std::to_string(hiddenMs));
  TimerId reveal = 0;
  reveal = platform->StartTimer(static_cast<uint32_t>(hiddenMs), [&] {
    platform->StopTimer(reveal);
    scene.Show();
  });
  platform->RunLoop();
  Fact("ending", "yes");
  platform->EndProcessNow();
}
