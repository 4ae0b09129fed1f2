#include "platform/win32/win32_file_system.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <algorithm>
#include <optional>

#include "platform/win32/win32_folder_probes.h"

namespace vellora::shell {
namespace {

// The shell's paths are UTF-8.
std::optional<std::wstring> WidePath(const std::string& path) { return vellora::WidePath(path, PathEncoding::Utf8); }

class Handle {
 public:
  explicit Handle(HANDLE handle) : handle_(handle) {}
  ~Handle() {
    if (valid()) ::CloseHandle(handle_);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  HANDLE get() const { return handle_; }
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  bool Close() {
    const HANDLE handle = handle_;
    handle_ = INVALID_HANDLE_VALUE;
    return ::CloseHandle(handle) != 0;
  }

 private:
  HANDLE handle_;
};

HANDLE OpenForReading(const std::wstring& path) {
  return ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                       nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

FileReadResult Win32FileSystem::ReadFile(const std::string& path) {
  FileReadResult result;
  const std::optional<std::wstring> wide = WidePath(path);
  if (!wide) return result;
  Handle file(OpenForReading(*wide));
  if (!file.valid()) {
    const DWORD error = ::GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) result.status = FileReadStatus::Missing;
    return result;
  }
  if (::GetFileType(file.get()) != FILE_TYPE_DISK) return result;

  char buffer[16384];
  for (;;) {
    DWORD count = 0;
    if (!::ReadFile(file.get(), buffer, sizeof buffer, &count, nullptr)) {
      result.bytes.clear();
      return result;
    }
    if (count == 0) break;
    result.bytes.append(buffer, count);
  }
  result.status = FileReadStatus::Ok;
  return result;
}

std::string Win32FileSystem::WriteFileBeside(const std::string& path, std::string_view bytes, bool /*ownerOnly*/,
                                            Durability durability) {
  // The per-user folder is its owner's alone already; a file there inherits that.
  const size_t separator = path.find_last_of("\\/");
  const std::string folder = separator == std::string::npos ? std::string() : path.substr(0, separator + 1);
  const std::string name = separator == std::string::npos ? path : path.substr(separator + 1);
  if (name.empty()) return std::string();

  static unsigned counter = 0;
  std::string temporary;
  std::optional<std::wstring> wide;
  HANDLE created = INVALID_HANDLE_VALUE;
  // CREATE_NEW never opens what is already there, so only a file made here and now is written.
  for (int attempt = 0; attempt < 16 && created == INVALID_HANDLE_VALUE; ++attempt) {
    temporary = folder + name + "." + std::to_string(::GetCurrentProcessId()) + "-" +
                std::to_string(::GetTickCount() + ++counter) + ".tmp";
    wide = WidePath(temporary);
    if (!wide) return std::string();
    created = ::CreateFileW(wide->c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (created == INVALID_HANDLE_VALUE && ::GetLastError() != ERROR_FILE_EXISTS &&
        ::GetLastError() != ERROR_ALREADY_EXISTS)
      return std::string();
  }
  if (created == INVALID_HANDLE_VALUE) return std::string();
  Handle file(created);
  const auto fail = [&] {
    if (file.valid()) file.Close();
    ::DeleteFileW(wide->c_str());
    return std::string();
  };
  size_t written = 0;
  while (written < bytes.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - written, 1u << 30));
    DWORD count = 0;
    if (!::WriteFile(file.get(), bytes.data() + written, chunk, &count, nullptr) || count == 0) return fail();
    written += count;
  }
  if (durability == Durability::Flushed && !::FlushFileBuffers(file.get())) return fail();
  if (!file.Close()) return fail();
  return temporary;
}

bool Win32FileSystem::RenameOver(const std::string& source, const std::string& target, Durability durability) {
  const std::optional<std::wstring> wideSource = WidePath(source);
  const std::optional<std::wstring> wideTarget = WidePath(target);
  if (!wideSource || !wideTarget) return false;
  // A read-only file is left as it is, as an edit in place would be refused. The move is not
  // trusted to refuse it: some file systems replace a read-only file all the same.
  const DWORD attributes = ::GetFileAttributesW(wideTarget->c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) return false;
  const DWORD writeThrough = durability == Durability::Flushed ? MOVEFILE_WRITE_THROUGH : 0;
  return ::MoveFileExW(wideSource->c_str(), wideTarget->c_str(), MOVEFILE_REPLACE_EXISTING | writeThrough) != 0;
}

void Win32FileSystem::RemoveFile(const std::string& path) {
  if (const std::optional<std::wstring> wide = WidePath(path)) ::DeleteFileW(wide->c_str());
}

bool Win32FileSystem::CanOpenForReading(const std::string& path) {
  const std::optional<std::wstring> wide = WidePath(path);
  if (!wide) return false;
  // Without FILE_FLAG_BACKUP_SEMANTICS a folder cannot be opened, so folders read as false.
  Handle file(OpenForReading(*wide));
  return file.valid();
}

DataFolderProbes& Win32FileSystem::FolderProbes() {
  static Win32FolderProbes probes(PathEncoding::Utf8);
  return probes;
}

FileSystem& PlatformFileSystem() {
  static Win32FileSystem fileSystem;
  return fileSystem;
}

}  // namespace vellora::shell
