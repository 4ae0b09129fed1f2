#include "platform/posix/posix_file_system.h"

#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <random>

#include "platform/posix/posix_folder_probes.h"
#include "platform/posix/posix_path.h"

namespace vellora::shell {
namespace {

// Closes the descriptor when it goes out of scope, unless released.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  // Closes now, reporting the result: a delayed write error can surface only here.
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

// Opens without blocking, so that a FIFO or a device at the path cannot stall the caller.
int OpenForReading(const std::string& posixPath) {
  int fd;
  do {
    fd = ::open(posixPath.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  } while (fd < 0 && errno == EINTR);
  return fd;
}

std::string FolderOf(const std::string& posixPath) {
  const size_t slash = posixPath.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return posixPath.substr(0, slash);
}

// Sixteen hex digits from the system's random source, so that nobody can tell the name of a
// temporary file before it exists.
std::string RandomSuffix() {
  uint64_t value = 0;
  if (::getrandom(&value, sizeof value, GRND_NONBLOCK) != static_cast<ssize_t>(sizeof value)) {
    static std::random_device device;
    value = (static_cast<uint64_t>(device()) << 32) ^ device();
  }
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string text(16, '0');
  for (char& digit : text) {
    digit = kDigits[value & 0xF];
    value >>= 4;
  }
  return text;
}

}  // namespace

FileReadResult PosixFileSystem::ReadFile(const std::string& path) {
  FileReadResult result;
  Descriptor file(OpenForReading(ToPosixPath(path)));
  if (!file.valid()) {
    result.status = (errno == ENOENT || errno == ENOTDIR) ? FileReadStatus::Missing : FileReadStatus::Failed;
    return result;
  }
  struct stat info {};
  if (::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode)) return result;

  char buffer[16384];
  for (;;) {
    const ssize_t count = ::read(file.get(), buffer, sizeof buffer);
    if (count > 0) {
      result.bytes.append(buffer, static_cast<size_t>(count));
    } else if (count == 0) {
      break;
    } else if (errno != EINTR) {
      result.bytes.clear();
      return result;
    }
  }
  result.status = FileReadStatus::Ok;
  return result;
}

std::string PosixFileSystem::WriteFileBeside(const std::string& path, std::string_view bytes, bool ownerOnly,
                                            Durability durability) {
  const std::string posixPath = ToPosixPath(path);
  const std::string folder = FolderOf(posixPath);
  const size_t slash = posixPath.find_last_of('/');
  const std::string name = slash == std::string::npos ? posixPath : posixPath.substr(slash + 1);
  if (name.empty()) return std::string();

  // A name of its own that nobody can guess: O_EXCL with O_NOFOLLOW never opens what is
  // already there, a link planted under the name included, so only a file made here and now
  // is written.
  std::string temporary;
  int fd = -1;
  for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
    temporary = folder + "/" + name + "." + RandomSuffix() + ".tmp";
    fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, ownerOnly ? 0600 : 0666);
    if (fd < 0 && errno != EEXIST && errno != EINTR) return std::string();
  }
  if (fd < 0) return std::string();
  Descriptor file(fd);
  const auto fail = [&] {
    ::unlink(temporary.c_str());
    return std::string();
  };

  // The new file takes over the old one's permissions, as an edit in place would keep them.
  struct stat old {};
  if (!ownerOnly && ::lstat(posixPath.c_str(), &old) == 0 && S_ISREG(old.st_mode))
    ::fchmod(file.get(), old.st_mode & 07777);

  size_t written = 0;
  while (written < bytes.size()) {
    const ssize_t count = ::write(file.get(), bytes.data() + written, bytes.size() - written);
    if (count > 0) {
      written += static_cast<size_t>(count);
    } else if (count < 0 && errno != EINTR) {
      return fail();
    }
  }
  if (durability == Durability::Flushed && ::fsync(file.get()) != 0) return fail();
  if (!file.Close()) return fail();
  return temporary;
}

bool PosixFileSystem::RenameOver(const std::string& source, const std::string& target, Durability durability) {
  const std::string posixSource = ToPosixPath(source);
  const std::string posixTarget = ToPosixPath(target);
  struct stat old {};
  // A rename ignores the old file's mode: a file that could not be edited in place is left as
  // it is. With no write permission at all it is read-only even for the superuser. A link is
  // not looked through: the rename replaces the link itself.
  if (::lstat(posixTarget.c_str(), &old) == 0 && !S_ISLNK(old.st_mode) &&
      ((old.st_mode & 0222) == 0 || ::access(posixTarget.c_str(), W_OK) != 0))
    return false;
  if (::rename(posixSource.c_str(), posixTarget.c_str()) != 0) return false;
  if (durability == Durability::Unflushed) return true;
  // Make the rename itself durable; the replace has happened whether or not this succeeds.
  Descriptor folder(::open(FolderOf(posixTarget).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (folder.valid()) ::fsync(folder.get());
  return true;
}

std::string PosixFileSystem::ResolveLinks(const std::string& path) {
  std::string current = ToPosixPath(path);
  // As many links as the system itself follows; a longer chain (or a loop) is left as it is.
  for (int links = 0; links < 40; ++links) {
    struct stat info {};
    if (::lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) break;
    std::string target(static_cast<size_t>(info.st_size > 0 ? info.st_size : 4095) + 1, '\0');
    const ssize_t length = ::readlink(current.c_str(), target.data(), target.size());
    if (length <= 0 || static_cast<size_t>(length) >= target.size()) break;
    target.resize(static_cast<size_t>(length));
    current = target.front() == '/' ? target : FolderOf(current) + "/" + target;
  }
  // Back to the shell's separators, which ToPosixPath turns into "/" again.
  for (char& c : current)
    if (c == '/') c = '\\';
  return current;
}

void PosixFileSystem::RemoveFile(const std::string& path) { ::unlink(ToPosixPath(path).c_str()); }

bool PosixFileSystem::CanOpenForReading(const std::string& path) {
  if (path.empty()) return false;
  Descriptor file(OpenForReading(ToPosixPath(path)));
  if (!file.valid()) return false;
  struct stat info {};
  return ::fstat(file.get(), &info) == 0 && !S_ISDIR(info.st_mode);
}

DataFolderProbes& PosixFileSystem::FolderProbes() {
  static PosixFolderProbes probes;
  return probes;
}

FileSystem& PlatformFileSystem() {
  static PosixFileSystem fileSystem;
  return fileSystem;
}

}  // namespace vellora::shell
