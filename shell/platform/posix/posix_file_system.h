// The file system of POSIX systems.
#pragma once

#include "platform/file_system.h"

namespace vellora::shell {

class PosixFileSystem final : public FileSystem {
 public:
  FileReadResult ReadFile(const std::string& path) override;
  std::string WriteFileBeside(const std::string& path, std::string_view bytes, bool ownerOnly,
                              Durability durability) override;
  bool RenameOver(const std::string& source, const std::string& target, Durability durability) override;
  std::string ResolveLinks(const std::string& path) override;
  void RemoveFile(const std::string& path) override;
  bool CanOpenForReading(const std::string& path) override;
  DataFolderProbes& FolderProbes() override;
};

}  // namespace vellora::shell
