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

bool Win32FileSystem::WriteFile(const std::string& path, std::string_view bytes, Durability durability) {
  const std::optional<std::wstring> wide = WidePath(path);
  if (!wide) return false;
  Handle file(::CreateFileW(wide->c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return false;
  size_t written = 0;
  while (written < bytes.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - written, 1u << 30));
    DWORD count = 0;
    if (!::WriteFile(file.get(), bytes.data() + written, chunk, &count, nullptr) || count == 0) return false;
    written += count;
  }
  if (durability == Durability::Flushed && !::FlushFileBuffers(file.get())) return false;
  return file.Close();
}

bool Win32FileSystem::RenameOver(const std::string& source, const std::string& target, Durability durability) {
  const std::optional<std::wstring> wideSource = WidePath(source);
  const std::optional<std::wstring> wideTarget = WidePath(target);
  if (!wideSource || !wideTarget) return false;
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
