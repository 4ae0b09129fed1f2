// Vellora.scr: the screensaver shell. The system starts it with a mode letter (/s run,
// /p HANDLE preview, /c settings); everything else lives in ShellMain and the forms it loads.
#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "music/media_interface.h"
#include "music/vellora_bgm.h"
#include "platform/file_system.h"
#include "platform/forms_platform.h"
#include "runtime/form.h"
#include "settings/settings_dialog.h"
#include "startup/bgm_session_music.h"
#include "startup/help_text.h"
#include "startup/preview_form.h"
#include "startup/shell_main.h"

int main(int argc, char** argv) {
  using namespace vellora::shell;
#ifndef _WIN32
  // `vellora --help` and `vellora --version` answer on standard output before anything else,
  // with no display needed. Windows never passes them; there, as for every other command line
  // here, the argument is the screensaver command line.
  if (argc == 2 && argv[1]) {
    if (const std::optional<std::string> text = HelpOrVersionText(argv[1], VELLORA_VERSION))
      return std::fputs(text->c_str(), stdout) >= 0 && std::fflush(stdout) == 0 ? 0 : 1;
  }
#endif
  const std::unique_ptr<FormsPlatform> platform = CreateFormsPlatform(argc, argv);
  if (!platform) return 1;  // no display to show anything on
  FormsApplication application(*platform);
  const std::unique_ptr<MediaInterface> media = CreatePlatformMedia();
  VelloraBgm bgm(*media);
  BgmSessionMusic music(bgm);

  std::unique_ptr<PreviewForm> preview;
  ShellProgram::Modes modes;
  modes.preview = [&](int32_t parentHandle) { preview = SetUpPreview(application, parentHandle); };
  modes.settingsDialog = [&](const std::string& settingsPath) {
    SettingsDialog dialog(application, PlatformFileSystem(), settingsPath, VELLORA_HOME_PAGE);
    dialog.Show(/*modal=*/true);
  };
  ShellProgram shell(application, PlatformFileSystem(), music, modes);
  shell.ShellMain();
  application.Run();
  return 0;
}
