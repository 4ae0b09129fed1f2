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
  bool failWrites = false;        // a full disk: the new file cannot be written
  bool failReplaces = false;      // the rename over the old file fails
  // When set, each completed replace is logged as "Replaced <path>", beside other effects.
  std::vector<std::string>* log = nullptr;
  // How each file's present bytes were written, carried along by a rename; a rename that is not
  // flushed itself leaves the file unflushed, as on a real disk.
  std::map<std::string, Durability> durability;
  std::set<std::string> ownerOnlyFiles;  // readable by their owner alone
  int temporaryCount = 0;

  FileReadResult ReadFile(const std::string& path) override {
    if (folders.count(path)) return {FileReadStatus::Failed, {}};
    const auto found = files.find(path);
    if (found == files.end()) return {FileReadStatus::Missing, {}};
    return {FileReadStatus::Ok, found->second};
  }

  // A new file "<path>.<n>.tmp" beside path; a read-only folder, or a full disk, leaves nothing.
  std::string WriteFileBeside(const std::string& path, std::string_view bytes, bool ownerOnly,
                              Durability how) override {
    if (readOnlyFolders.count(FolderAbove(path))) return std::string();
    std::string temporary;
    do {
      temporary = path + "." + std::to_string(++temporaryCount) + ".tmp";
    } while (files.count(temporary) || folders.count(temporary));
    if (failWrites) return std::string();
    files[temporary] = std::string(bytes);
    durability[temporary] = how;
    if (ownerOnly) ownerOnlyFiles.insert(temporary);
    return temporary;
  }

  bool RenameOver(const std::string& source, const std::string& target, Durability how) override {
    if (failReplaces || !files.count(source) || folders.count(target)) return false;
    files[target] = files[source];
    durability[target] = how == Durability::Flushed ? durability[source] : Durability::Unflushed;
    if (ownerOnlyFiles.erase(source)) {
      ownerOnlyFiles.insert(target);
    } else {
      ownerOnlyFiles.erase(target);
    }
    files.erase(source);
    durability.erase(source);
    if (log != nullptr) log->push_back("Replaced " + target);
    return true;
  }

  void RemoveFile(const std::string& path) override {
    ownerOnlyFiles.erase(path);
    files.erase(path);
    durability.erase(path);
  }

  bool CanOpenForReading(const std::string& path) override { return files.count(path) > 0; }

  DataFolderProbes& FolderProbes() override { return *this; }
  bool IsFile(const std::string& path) override { return files.count(path) > 0; }
};

}  // namespace vellora::shell::testing
