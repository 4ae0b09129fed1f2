// Vellora.scr: the screensaver shell. The system starts it with a mode letter (/s run,
// /p HANDLE preview, /c settings); everything else lives in ShellMain and the forms it loads.
#include <memory>

#include "common/command_arguments.h"
#include "dialog/settings_dialog.h"
#include "music/media_interface.h"
#include "music/vellora_bgm.h"
#include "platform/file_system.h"
#include "platform/forms_platform.h"
#include "runtime/form.h"
#include "startup/bgm_session_music.h"
#include "startup/command_line.h"
#include "startup/preview_form.h"
#include "startup/shell_main.h"

int main(int argc, char** argv) {
  using namespace vellora::shell;
  // A session starts without the toolkit where the platform can leave it out.
  const ToolkitStart start =
      ModeLetter(JoinArguments(argc, argv)) == "S" ? ToolkitStart::WhenNeeded : ToolkitStart::AtOnce;
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
