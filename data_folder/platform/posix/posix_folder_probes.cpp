#include "platform/posix/posix_folder_probes.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

namespace vellora {
namespace {

bool IsFolder(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// Creates and removes a named file: for file systems without unnamed temporary files.
bool CanCreateNamedFileIn(const std::string& folder) {
  const std::string probe = folder + "/.vellora-probe-" + std::to_string(::getpid());
  const int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0) return false;
  ::close(fd);
  ::unlink(probe.c_str());
  return true;
}

}  // namespace

std::string PosixFolderProbes::EnvironmentVariable(const std::string& name) {
  const char* value = std::getenv(name.c_str());
  return value != nullptr ? value : "";
}

std::string PosixFolderProbes::HomeFolder() {
  const std::string home = EnvironmentVariable("HOME");
  if (!home.empty()) return home;
  long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> buffer(size > 0 ? static_cast<size_t>(size) : 16384);
  struct passwd entry {};
  struct passwd* found = nullptr;
  if (::getpwuid_r(::geteuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || found == nullptr ||
      found->pw_dir == nullptr)
    return "";
  return found->pw_dir;
}

bool PosixFolderProbes::CanCreateFileIn(const std::string& folder) {
  if (folder.empty()) return false;
#ifdef O_TMPFILE
  // An unnamed file in the folder: nothing to remove afterwards, nothing left if we die.
  const int fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
  if (fd >= 0) {
    ::close(fd);
    return true;
  }
  // Kernels and file systems without unnamed files answer with one of these.
  if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) return false;
#endif
  return CanCreateNamedFileIn(folder);
}

bool PosixFolderProbes::IsFile(const std::string& path) {
  struct stat info {};
  return !path.empty() && ::stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

bool PosixFolderProbes::CreateFolder(const std::string& folder) {
  if (folder.empty()) return false;
  if (IsFolder(folder)) return true;
  // Each missing folder from the top down, for the owner alone.
  for (size_t end = folder.find('/', 1);; end = folder.find('/', end + 1)) {
    const std::string part = folder.substr(0, end);
    if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST && !IsFolder(part)) return false;
    if (end == std::string::npos) break;
  }
  return IsFolder(folder);
}

}  // namespace vellora
