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

// The path without trailing "/", so that lstat looks at the last name itself and not at
// what a link of that name leads to.
std::string WithoutTrailingSlashes(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

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

// True when this process can create a new file in the folder; a read-only mount refuses even
// the superuser, so the probe really creates one.
bool CanCreateFileIn(const std::string& folder) {
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

// A real folder of this user's that nobody else can write to.
bool IsPrivateFolder(const struct stat& info) {
  return S_ISDIR(info.st_mode) && info.st_uid == ::geteuid() && (info.st_mode & (S_IWGRP | S_IWOTH)) == 0;
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

DataFolderProbes::FolderUse PosixFolderProbes::CheckFolder(const std::string& folder) {
  if (folder.empty() || folder[0] != '/') return FolderUse::Unusable;
  const std::string path = WithoutTrailingSlashes(folder);
  struct stat info {};
  if (::lstat(path.c_str(), &info) == 0)
    return IsPrivateFolder(info) && CanCreateFileIn(path) ? FolderUse::Own : FolderUse::Unusable;
  if (errno != ENOENT) return FolderUse::Unusable;
  // Missing: it can be made when the nearest folder above that exists takes new entries. That
  // one may be a link (a ~/.config kept elsewhere); what is made below it is checked again.
  std::string above = path;
  for (;;) {
    const size_t slash = above.find_last_of('/');
    above = slash == 0 ? "/" : above.substr(0, slash);
    if (::stat(above.c_str(), &info) == 0)
      return S_ISDIR(info.st_mode) && CanCreateFileIn(above) ? FolderUse::Absent : FolderUse::Unusable;
    if (errno != ENOENT || above == "/") return FolderUse::Unusable;
  }
}

bool PosixFolderProbes::IsFile(const std::string& path) {
  struct stat info {};
  return !path.empty() && ::stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

bool PosixFolderProbes::CreateFolder(const std::string& folder) {
  if (folder.empty() || folder[0] != '/') return false;
  // Each missing folder from the top down, for the owner alone.
  for (size_t end = folder.find('/', 1);; end = folder.find('/', end + 1)) {
    const std::string part = folder.substr(0, end);
    if (!part.empty() && part.back() != '/' && ::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST &&
        !IsFolder(part))
      return false;
    if (end == std::string::npos) break;
  }
  return CheckFolder(folder) == FolderUse::Own;
}

}  // namespace vellora
