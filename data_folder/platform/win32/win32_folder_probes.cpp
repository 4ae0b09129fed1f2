#include "platform/win32/win32_folder_probes.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#include <shlobj.h>

#include <string>
#include <vector>

namespace vellora {
namespace {

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

bool IsFolder(const std::wstring& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace

std::optional<std::wstring> WidePath(const std::string& path, PathEncoding encoding) {
  if (path.empty() || path.find('\0') != std::string::npos) return std::nullopt;
  const UINT codePage = encoding == PathEncoding::Utf8 ? CP_UTF8 : CP_ACP;
  const DWORD flags = encoding == PathEncoding::Utf8 ? MB_ERR_INVALID_CHARS : 0;
  const int length = ::MultiByteToWideChar(codePage, flags, path.data(), static_cast<int>(path.size()), nullptr, 0);
  if (length <= 0) return std::nullopt;
  std::wstring wide(static_cast<size_t>(length), L'\0');
  ::MultiByteToWideChar(codePage, flags, path.data(), static_cast<int>(path.size()), wide.data(), length);
  return wide;
}

std::optional<std::string> Win32FolderProbes::Narrow(const std::wstring& text) const {
  if (text.empty()) return std::string();
  const bool utf8 = encoding_ == PathEncoding::Utf8;
  const UINT codePage = utf8 ? CP_UTF8 : CP_ACP;
  BOOL lossy = FALSE;
  BOOL* lossyFlag = utf8 ? nullptr : &lossy;  // UTF-8 spells everything and takes no flag
  const int length = ::WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                           nullptr, lossyFlag);
  if (length <= 0 || lossy) return std::nullopt;
  std::string narrow(static_cast<size_t>(length), '\0');
  ::WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), narrow.data(), length, nullptr,
                        nullptr);
  return narrow;
}

std::string Win32FolderProbes::NarrowFolder(const std::wstring& folder) const {
  if (const std::optional<std::string> narrow = Narrow(folder)) return *narrow;
  std::vector<wchar_t> shortName(32768);
  const DWORD length = ::GetShortPathNameW(folder.c_str(), shortName.data(), static_cast<DWORD>(shortName.size()));
  if (length == 0 || length >= shortName.size()) return std::string();
  return Narrow(std::wstring(shortName.data(), length)).value_or(std::string());
}

std::string Win32FolderProbes::EnvironmentVariable(const std::string& name) {
  const std::optional<std::wstring> wideName = Wide(name);
  if (!wideName) return std::string();
  std::vector<wchar_t> value(MAX_PATH);
  for (;;) {
    const DWORD length = ::GetEnvironmentVariableW(wideName->c_str(), value.data(), static_cast<DWORD>(value.size()));
    if (length == 0) return std::string();
    if (length < value.size()) return NarrowFolder(std::wstring(value.data(), length));
    value.resize(length);
  }
}

std::string Win32FolderProbes::HomeFolder() { return EnvironmentVariable("USERPROFILE"); }

DataFolderProbes::FolderUse Win32FolderProbes::CheckFolder(const std::string& folder) {
  std::optional<std::wstring> path = Wide(folder);
  if (!path) return FolderUse::Unusable;
  while (!path->empty() && IsSeparator(path->back())) path->pop_back();
  const DWORD attributes = ::GetFileAttributesW(path->c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = ::GetLastError();
    // Whether it can be made is CreateFolder's to find out.
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? FolderUse::Absent : FolderUse::Unusable;
  }
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) return FolderUse::Unusable;
  *path += L"\\Vellora-" + std::to_wstring(::GetCurrentProcessId()) + L".probe";
  // Deleted when the handle closes, and by the system should this process die first.
  const HANDLE file = ::CreateFileW(path->c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE,
                                    nullptr);
  if (file == INVALID_HANDLE_VALUE) return FolderUse::Unusable;
  ::CloseHandle(file);
  return FolderUse::Own;
}

bool Win32FolderProbes::IsFile(const std::string& path) {
  const std::optional<std::wstring> wide = Wide(path);
  if (!wide) return false;
  const DWORD attributes = ::GetFileAttributesW(wide->c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool Win32FolderProbes::CreateFolder(const std::string& folder) {
  const std::optional<std::wstring> wide = Wide(folder);
  if (!wide) return false;
  if (IsFolder(*wide)) return true;
  // Makes the missing folders above it too; they take the permissions of the folder they are
  // made in (a user's local application data is theirs alone).
  ::SHCreateDirectoryExW(nullptr, wide->c_str(), nullptr);
  return IsFolder(*wide);
}

}  // namespace vellora
