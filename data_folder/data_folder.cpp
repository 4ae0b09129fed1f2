#include "data_folder.h"

#include <algorithm>
#include <initializer_list>

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

// A candidate data folder serves when it is the user's own or can be made.
bool Usable(DataFolderProbes& probes, const std::string& folder) {
  if (folder.empty()) return false;
  const DataFolderProbes::FolderUse use = probes.CheckFolder(folder);
  return use == DataFolderProbes::FolderUse::Own || use == DataFolderProbes::FolderUse::Absent;
}

// The first candidate that serves, or empty.
std::string FirstUsable(DataFolderProbes& probes, std::initializer_list<std::string> candidates) {
  for (const std::string& folder : candidates)
    if (Usable(probes, folder)) return folder;
  return std::string();
}

// Folders that an installation owns on a Linux system: a usr or opt tree (packages,
// /usr/local, /opt, and the same below another root: a chroot, a container's file system, a
// package unpacked elsewhere) and the system's other top folders. Even a user who can write
// there, root above all, keeps their data in their own folders, so that nothing they save
// becomes everyone's and removing the package removes its folder.
bool IsSystemLocation(const std::string& folder) {
  for (std::string_view top : {"/bin", "/sbin", "/lib", "/lib32", "/lib64", "/libx32", "/etc", "/boot", "/snap",
                               "/nix", "/gnu"}) {
    if (folder.compare(0, top.size(), top) == 0 && (folder.size() == top.size() || folder[top.size()] == '/'))
      return true;
  }
  for (size_t at = 0; at < folder.size();) {
    const size_t end = std::min(folder.find('/', at), folder.size());
    const std::string_view name(folder.data() + at, end - at);
    if (name == "usr" || name == "opt") return true;
    at = end + 1;
  }
  return false;
}

// The Linux folders, each the first that serves of the XDG base directory candidates: the
// settings in $XDG_CONFIG_HOME/vellora, then ~/.config/vellora; the snapshot in
// $XDG_RUNTIME_DIR/vellora when the runtime folder is the user's own as the XDG rules demand,
// then $XDG_CACHE_HOME/vellora, then ~/.cache/vellora. Each stays empty when none serves.
void FindFreedesktopFolders(DataFolderProbes& probes, std::string& settings, std::string& snapshot) {
  constexpr FolderConvention kConvention = FolderConvention::Freedesktop;
  const std::string own(OwnFolderName(kConvention));
  const std::string home = AbsoluteOrEmpty(kConvention, probes.HomeFolder());
  const auto fromVariable = [&](const char* variable) {
    const std::string base = AbsoluteOrEmpty(kConvention, probes.EnvironmentVariable(variable));
    return base.empty() ? base : FileInFolder(kConvention, base, own);
  };
  const auto underHome = [&](std::string_view base) {
    return home.empty() ? home : FileInFolder(kConvention, FileInFolder(kConvention, home, base), own);
  };
  const std::string runtimeBase = AbsoluteOrEmpty(kConvention, probes.EnvironmentVariable("XDG_RUNTIME_DIR"));
  const bool runtimeUsable =
      !runtimeBase.empty() && probes.CheckFolder(runtimeBase) == DataFolderProbes::FolderUse::Own;
  settings = FirstUsable(probes, {fromVariable("XDG_CONFIG_HOME"), underHome(".config")});
  snapshot = FirstUsable(probes, {runtimeUsable ? fromVariable("XDG_RUNTIME_DIR") : std::string(),
                                  fromVariable("XDG_CACHE_HOME"), underHome(".cache")});
}

}  // namespace

std::string FileInFolder(FolderConvention convention, std::string_view folder, std::string_view name) {
  std::string path(folder);
  if (path.empty() || !IsSeparator(path.back())) path += convention == FolderConvention::Windows ? '\\' : '/';
  path += name;
  return path;
}

DataFolders FindDataFolders(DataFolderProbes& probes, const std::string& programFolder) {
  const FolderConvention convention = probes.Convention();
  DataFolders folders{programFolder, programFolder, programFolder};
  const bool ownProgramFolder = probes.CheckFolder(programFolder) == DataFolderProbes::FolderUse::Own;
  if (convention == FolderConvention::Windows) {
    if (ownProgramFolder) return folders;
    const std::string local = AbsoluteOrEmpty(convention, probes.EnvironmentVariable("LOCALAPPDATA"));
    // Without one, the program folder serves, as far as it can be written to.
    if (local.empty()) return folders;
    folders.settings = folders.snapshot = FileInFolder(convention, local, OwnFolderName(convention));
  } else {
    if (ownProgramFolder && !IsSystemLocation(programFolder)) return folders;
    // Never the program folder: where no folder of the user's serves, nothing is written.
    FindFreedesktopFolders(probes, folders.settings, folders.snapshot);
    if (folders.settings.empty()) return folders;
  }

  // The program folder's file is the default until the user has saved one of their own.
  const bool ownFile = probes.IsFile(FileInFolder(convention, folders.settings, kSettingsFileName));
  if (ownFile || !probes.IsFile(FileInFolder(convention, programFolder, kSettingsFileName)))
    folders.settingsToRead = folders.settings;
  return folders;
}

}  // namespace vellora
