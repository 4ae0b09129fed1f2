// The data-folder probes on POSIX systems: the process environment, the user database and the
// file system as this process's user sees it.
#pragma once

#include "data_folder_probes.h"

namespace vellora {

class PosixFolderProbes final : public DataFolderProbes {
 public:
  FolderConvention Convention() const override { return FolderConvention::Freedesktop; }
  std::string EnvironmentVariable(const std::string& name) override;
  std::string HomeFolder() override;
  FolderUse CheckFolder(const std::string& folder) override;
  bool IsFile(const std::string& path) override;
  bool CreateFolder(const std::string& folder) override;
};

}  // namespace vellora
