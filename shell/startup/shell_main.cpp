#include "startup/shell_main.h"

#include "common/shell_texts.h"
#include "data_folder.h"
#include "settings/settings_store.h"
#include "startup/command_line.h"
#include "startup/session_form.h"

namespace vellora::shell {

ShellProgram::ShellProgram(FormsApplication& application, FileSystem& files, SessionMusic& music, Modes modes)
    : application_(application), files_(files), music_(music), modes_(std::move(modes)) {}

ShellProgram::~ShellProgram() = default;

Form* ShellProgram::Session() const { return session_.get(); }

void ShellProgram::ShellMain() {
  FormsPlatform& platform = application_.Platform();

  // Another part of the system is up: the session, the settings dialog or the renderer. All
  // three are always looked for.
  bool running = false;
  for (const char* title : {kSessionTitle, kSettingsTitle, kRendererTitle})
    running = platform.FindWindowByTitle(title) || running;
  if (running) platform.EndProcessNow();

  const std::string commandLine = platform.CommandLine();
  const std::string letter = ModeLetter(commandLine);

  if (letter == "P") {
    if (!modes_.preview) platform.EndProcessNow();
    modes_.preview(PreviewHandle(commandLine));
    return;
  }

  const std::string folder = platform.ApplicationFolder();
  // Beside the program, or the user's own folders for an installed copy.
  const DataFolders dataFolders = FindDataFolders(files_.FolderProbes(), folder);
  LoadSettings(files_, dataFolders.settingsToRead);

  // The folder and the file name are joined as they stand.
  if (!FileExists(files_, folder + "\\" + kRendererFileName)) {
    platform.MessageBox(kRendererMissingText, kApplicationTitle);
    platform.EndProcessNow();
  }

  if (letter == "C") {
    // With no folder of the user's to save in, the dialog saves nothing.
    const std::string settingsPath = dataFolders.settings.empty() ? std::string() : SettingsFilePath(dataFolders.settings);
    if (modes_.settingsDialog) modes_.settingsDialog(settingsPath);
    platform.EndProcessNow();
  }

  if (letter != "S" && !commandLine.empty()) platform.EndProcessNow();
  if (letter == "S") platform.ShowCursor(false);

  session_ = std::make_unique<SessionForm>(application_, files_, music_, commandLine, dataFolders.snapshot);
  session_->Load();
}

}  // namespace vellora::shell
