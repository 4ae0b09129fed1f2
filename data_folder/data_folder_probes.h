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

  // Whether a data folder may be used at the path. Own: an existing folder of this user's own
  // in which this process can create files; where the system has owners and permissions, a
  // real folder (not a link) owned by the user and not writable by group or others, so that
  // nobody else can plant, rename or replace anything in it. Absent: nothing there yet, and
  // CreateFolder can make it. Unusable: anything else (a file, a link, another user's folder,
  // one others can write to, one this process cannot write to). Probes leave nothing behind.
  enum class FolderUse { Own, Absent, Unusable };
  virtual FolderUse CheckFolder(const std::string& folder) = 0;

  // True when something other than a folder is at the path.
  virtual bool IsFile(const std::string& path) = 0;

  // Makes the folder and every missing folder above it; those it makes are open to their owner
  // alone where the system has such permissions, and existing ones are left as they are. True
  // when the folder exists afterwards and CheckFolder finds it Own: a folder someone else put
  // there first, or swapped in since the rule chose it, is refused and nothing is written.
  virtual bool CreateFolder(const std::string& folder) = 0;
};

}  // namespace vellora
