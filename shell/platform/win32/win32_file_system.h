// The file system of Windows, reached through the wide-character API so that paths do not
// depend on the system's code page.
#pragma once

#include "platform/file_system.h"

namespace vellora::shell {

class Win32FileSystem final : public FileSystem {
 public:
  FileReadResult ReadFile(const std::string& path) override;
  std::string WriteFileBeside(const std::string& path, std::string_view bytes, bool ownerOnly,
                              Durability durability) override;
  bool RenameOver(const std::string& source, const std::string& target, Durability durability) override;
  void RemoveFile(const std::string& path) override;
  bool CanOpenForReading(const std::string& path) override;
  DataFolderProbes& FolderProbes() override;
};

}  // namespace vellora::shell
