// What the data-folder rule asks of the operating system: a few environment values and file
// probes. Each system has one backend under platform/; the unit tests use an in-memory fake.
#pragma once

#include <string>

namespace vellora {

// Whose conventions the per-user folders follow.
enum class FolderConvention {
  Windows,      // %LOCALAPPDATA%\Vellora; "\" between names
  Freedesktop,  // the XDG base directories; "/" between names
};

class DataFolderProbes {
 public:
  virtual ~DataFolderProbes() = default;

  virtual FolderConvention Convention() const = 0;

  // The variable's value; empty when it is unset.
  virtual std::string EnvironmentVariable(const std::string& name) = 0;

  // The user's home folder: $HOME, or the user database's entry when HOME is unset or empty;
  // empty when there is neither.
  virtual std::string HomeFolder() = 0;

  // True when this process can create a new file in the folder. The probe leaves nothing behind.
  virtual bool CanCreateFileIn(const std::string& folder) = 0;

  // True when something other than a folder is at the path.
  virtual bool IsFile(const std::string& path) = 0;

  // Makes the folder and every missing folder above it; those it makes are open to their owner
  // alone where the system has such permissions, and existing ones are left as they are. True
  // when the folder exists afterwards.
  virtual bool CreateFolder(const std::string& folder) = 0;
};

}  // namespace vellora
