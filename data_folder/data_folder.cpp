#include "data_folder.h"

namespace vellora {
namespace {

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// A value from the environment names a folder only when it is absolute; relative ones are
// ignored, as the XDG base directory rules ask.
bool IsAbsolute(FolderConvention convention, const std::string& path) {
  if (convention == FolderConvention::Freedesktop) return !path.empty() && path[0] == '/';
  const bool drive = path.size() >= 3 && IsLetter(path[0]) && path[1] == ':' && IsSeparator(path[2]);
  const bool share = path.size() >= 3 && IsSeparator(path[0]) && IsSeparator(path[1]);
  return drive || share;
}

std::string AbsoluteOrEmpty(FolderConvention convention, std::string path) {
  return IsAbsolute(convention, path) ? path : std::string();
}

// The per-user folder's own name under its base.
std::string_view OwnFolderName(FolderConvention convention) {
  return convention == FolderConvention::Windows ? "Vellora" : "vellora";
}

// The Linux folders: settings under the configuration base, the snapshot in the runtime folder
// or else under the cache base. Each stays empty when its base cannot be found.
void FindFreedesktopFolders(DataFolderProbes& probes, std::string& settings, std::string& snapshot) {
  constexpr FolderConvention kConvention = FolderConvention::Freedesktop;
  const std::string home = AbsoluteOrEmpty(kConvention, probes.HomeFolder());
  const auto base = [&](const char* variable, std::string_view underHome) {
    std::string folder = AbsoluteOrEmpty(kConvention, probes.EnvironmentVariable(variable));
    if (folder.empty() && !home.empty()) folder = FileInFolder(kConvention, home, underHome);
    return folder;
  };
  const std::string config = base("XDG_CONFIG_HOME", ".config");
  std::string runtime = AbsoluteOrEmpty(kConvention, probes.EnvironmentVariable("XDG_RUNTIME_DIR"));
  if (runtime.empty()) runtime = base("XDG_CACHE_HOME", ".cache");
  if (!config.empty()) settings = FileInFolder(kConvention, config, OwnFolderName(kConvention));
  if (!runtime.empty()) snapshot = FileInFolder(kConvention, runtime, OwnFolderName(kConvention));
}

}  // namespace

std::string FileInFolder(FolderConvention convention, std::string_view folder, std::string_view name) {
  std::string path(folder);
  if (path.empty() || !IsSeparator(path.back())) path += convention == FolderConvention::Windows ? '\\' : '/';
  path += name;
  return path;
}

DataFolders FindDataFolders(DataFolderProbes& probes, const std::string& programFolder) {
  DataFolders folders{programFolder, programFolder, programFolder};
  if (probes.CanCreateFileIn(programFolder)) return folders;

  const FolderConvention convention = probes.Convention();
  std::string settings, snapshot;
  if (convention == FolderConvention::Windows) {
    const std::string local = AbsoluteOrEmpty(convention, probes.EnvironmentVariable("LOCALAPPDATA"));
    if (!local.empty()) settings = snapshot = FileInFolder(convention, local, OwnFolderName(convention));
  } else {
    FindFreedesktopFolders(probes, settings, snapshot);
  }
  if (!snapshot.empty()) folders.snapshot = snapshot;
  if (settings.empty()) return folders;

  folders.settings = settings;
  // The program folder's file is the default until the user has saved one of their own.
  const bool ownFile = probes.IsFile(FileInFolder(convention, settings, kSettingsFileName));
  if (ownFile || !probes.IsFile(FileInFolder(convention, programFolder, kSettingsFileName)))
    folders.settingsToRead = settings;
  return folders;
}

}  // namespace vellora
