// Vellora.scr: the screensaver shell. The system starts it with a mode letter (/s run,
// /p HANDLE preview, /c settings); everything else lives in ShellMain and the forms it loads.
#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "common/command_arguments.h"
#include "dialog/settings_dialog.h"
#include "music/media_interface.h"
#include "music/vellora_bgm.h"
#include "platform/file_system.h"
#include "platform/forms_platform.h"
#include "runtime/form.h"
#include "startup/bgm_session_music.h"
#include "startup/command_line.h"
#include "startup/help_text.h"
#include "startup/preview_form.h"
#include "startup/shell_main.h"

int main(int argc, char** argv) {
  using namespace vellora::shell;
  const std::string commandLine = JoinArguments(argc, argv);
#ifndef _WIN32
  // `vellora --help` and `vellora --version` answer on standard output before anything else,
  // with no display needed. Windows never passes them; there, as for every other command line
  // here, the line is the screensaver command line.
  if (const std::optional<std::string> text = HelpOrVersionText(commandLine, VELLORA_VERSION))
    return std::fputs(text->c_str(), stdout) >= 0 && std::fflush(stdout) == 0 ? 0 : 1;
#endif
  // A session starts without the toolkit where the platform can leave it out.
  const ToolkitStart start = ModeLetter(commandLine) == "S" ? ToolkitStart::WhenNeeded : ToolkitStart::AtOnce;
  const std::unique_ptr<FormsPlatform> platform = CreateFormsPlatform(argc, argv, start);
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
