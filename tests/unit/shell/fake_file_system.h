// An in-memory file system for the settings store's tests, with switches that make each
// step of a write fail, and its own data-folder probes: a write into one of readOnlyFolders
// fails as it would on a real system.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "fake_data_folder_probes.h"
#include "platform/file_system.h"

namespace vellora::shell::testing {

class FakeFileSystem final : public FileSystem, public vellora::testing::FakeDataFolderProbes {
 public:
  std::map<std::string, std::string> files;
  std::set<std::string> folders;  // paths that exist but are not files
  bool failWrites = false;        // a full disk: the write leaves part of the bytes behind
  bool failReplaces = false;      // the rename over the old file fails
  // When set, each completed replace is logged as "Replaced <path>", beside other effects.
  std::vector<std::string>* log = nullptr;
  // How each file's present bytes were written, carried along by a rename; a rename that is not
  // flushed itself leaves the file unflushed, as on a real disk.
  std::map<std::string, Durability> durability;

  FileReadResult ReadFile(const std::string& path) override {
    if (folders.count(path)) return {FileReadStatus::Failed, {}};
    const auto found = files.find(path);
    if (found == files.end()) return {FileReadStatus::Missing, {}};
    return {FileReadStatus::Ok, found->second};
  }

  bool WriteFile(const std::string& path, std::string_view bytes, Durability how) override {
    if (folders.count(path) || readOnlyFolders.count(FolderAbove(path))) return false;
    files[path] = std::string(failWrites ? bytes.substr(0, bytes.size() / 2) : bytes);
    durability[path] = how;
    return !failWrites;
  }

  bool RenameOver(const std::string& source, const std::string& target, Durability how) override {
    if (failReplaces || !files.count(source) || folders.count(target)) return false;
    files[target] = files[source];
    durability[target] = how == Durability::Flushed ? durability[source] : Durability::Unflushed;
    files.erase(source);
    durability.erase(source);
    if (log != nullptr) log->push_back("Replaced " + target);
    return true;
  }

  void RemoveFile(const std::string& path) override {
    files.erase(path);
    durability.erase(path);
  }

  bool CanOpenForReading(const std::string& path) override { return files.count(path) > 0; }

  DataFolderProbes& FolderProbes() override { return *this; }
  bool IsFile(const std::string& path) override { return files.count(path) > 0; }
};

}  // namespace vellora::shell::testing
