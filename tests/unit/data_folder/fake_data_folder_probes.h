// In-memory data-folder probes: an environment, a home folder, folders the process cannot
// write to, folders that are not the user's own, and the files that exist. Every other folder
// counts as the user's own (or as one that can be made: the rule treats both alike).
#pragma once

#include <map>
#include <set>
#include <string>

#include "data_folder_probes.h"

namespace vellora::testing {

class FakeDataFolderProbes : public DataFolderProbes {
 public:
  FolderConvention convention = FolderConvention::Windows;
  std::map<std::string, std::string> environment;
  std::string home;
  std::set<std::string> readOnlyFolders;  // there, but no file or folder can be made in these
  // There, but not usable as the user's own: another user's, one others can write to, a link.
  std::set<std::string> foreignFolders;
  std::set<std::string> presentFiles;
  std::set<std::string> madeFolders;  // by CreateFolder, in this run

  FolderConvention Convention() const override { return convention; }
  std::string EnvironmentVariable(const std::string& name) override {
    const auto found = environment.find(name);
    return found == environment.end() ? std::string() : found->second;
  }
  std::string HomeFolder() override { return home; }
  FolderUse CheckFolder(const std::string& folder) override {
    if (folder.empty() || readOnlyFolders.count(folder) || foreignFolders.count(folder) ||
        readOnlyFolders.count(FolderAbove(folder)))
      return FolderUse::Unusable;
    for (std::string at = folder; !at.empty(); at = FolderAbove(at))
      if (IsFile(at)) return FolderUse::Unusable;  // a file there, or on the way
    return FolderUse::Own;
  }
  bool IsFile(const std::string& path) override { return presentFiles.count(path) > 0; }
  bool CreateFolder(const std::string& folder) override {
    // Windows reports an existing folder as made, whether it can be written to or not.
    if (convention == FolderConvention::Windows && readOnlyFolders.count(folder)) return true;
    if (CheckFolder(folder) == FolderUse::Unusable) return false;
    madeFolders.insert(folder);
    return true;
  }

  // The folder a path lies in: the text before its last separator.
  static std::string FolderAbove(const std::string& path) {
    const size_t separator = path.find_last_of("\\/");
    return separator == std::string::npos ? std::string() : path.substr(0, separator);
  }
};

}  // namespace vellora::testing
