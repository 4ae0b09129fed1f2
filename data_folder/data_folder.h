// Where the programs keep their data: the snapshot Vellora.bmp and the settings Vellora.ini.
//
// A copy in a folder of the user's own keeps both beside the programs. An installed copy
// keeps them in folders of each user's own: %LOCALAPPDATA%\Vellora on Windows, where the
// program folder cannot be written to (C:\Program Files, System32); on Linux whenever the
// program folder is not the user's own private folder or lies in a system location
// (/usr/lib/vellora, even for root): the settings in $XDG_CONFIG_HOME/vellora
// (~/.config/vellora) and the snapshot in $XDG_RUNTIME_DIR/vellora (private, in memory, gone at
// logout), or $XDG_CACHE_HOME/vellora (~/.cache/vellora) where there is no usable runtime
// folder. A folder that already exists serves only when it is the user's own and nobody else
// can write to it; otherwise the next candidate is tried. The shell and the renderer both
// follow this one rule, so the renderer finds the snapshot where the shell wrote it.
#pragma once

#include <string>
#include <string_view>

#include "data_folder_probes.h"

namespace vellora {

inline constexpr std::string_view kSettingsFileName = "Vellora.ini";

struct DataFolders {
  // Where the session writes Vellora.bmp and the renderer reads it.
  std::string snapshot;
  // Where the settings are saved.
  std::string settings;
  // Whose Vellora.ini is read at start: the settings folder's once the user has one, otherwise
  // the program folder's, which an installer may have put there as everyone's default.
  std::string settingsToRead;
};

// Applies the rule for the programs in programFolder (as the platform reports it, with or
// without a trailing separator). A folder kept in the program folder comes back exactly as
// given; a per-user folder has no trailing separator. Where no per-user folder can be named,
// Windows falls back to the program folder (no LOCALAPPDATA); on Linux the folder stays empty
// and nothing is written (settingsToRead is then the program folder). Nothing is created
// here: writers call CreateFolder, which checks the folder again, and write only when it
// succeeds.
DataFolders FindDataFolders(DataFolderProbes& probes, const std::string& programFolder);

// The file of this name in the folder, with the convention's separator between them unless
// the folder already ends in one.
std::string FileInFolder(FolderConvention convention, std::string_view folder, std::string_view name);

}  // namespace vellora
