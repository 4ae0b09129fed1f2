// In-memory data-folder probes: an environment, a home folder, folders the process cannot
// write to, and the files and folders that exist.
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
  std::set<std::string> readOnlyFolders;  // no file or folder can be made in these
  std::set<std::string> presentFiles;
  std::set<std::string> madeFolders;      // by CreateFolder, in this run

  FolderConvention Convention() const override { return convention; }
  std::string EnvironmentVariable(const std::string& name) override {
    const auto found = environment.find(name);
    return found == environment.end() ? std::string() : found->second;
  }
  std::string HomeFolder() override { return home; }
  bool CanCreateFileIn(const std::string& folder) override { return !readOnlyFolders.count(folder); }
  bool IsFile(const std::string& path) override { return presentFiles.count(path) > 0; }
  bool CreateFolder(const std::string& folder) override {
    if (readOnlyFolders.count(folder)) return true;  // it is there, only not writable
    if (readOnlyFolders.count(FolderAbove(folder))) return false;
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
