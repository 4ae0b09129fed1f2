#include "platform/win32/win32_forms_process.h"

#include <vector>

#include "platform/win32/win32_forms_system.h"
#include "platform/win32/win32_forms_text.h"
#include "platform/win32/win32_process_paths.h"

namespace vellora::shell {

std::string ProcessArguments() {
  const wchar_t* commandLine = ::GetCommandLineW();
  return CommandLineArguments(commandLine != nullptr ? WideToUtf8(std::wstring(commandLine)) : std::string());
}

std::string ProcessFolder() {
  // Long paths: the buffer grows until the whole path fits.
  std::vector<wchar_t> path(MAX_PATH);
  for (;;) {
    const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return std::string();
    if (length < path.size()) return FolderOfModulePath(WideToUtf8(path.data(), length));
    path.resize(path.size() * 2);
  }
}

bool StartProgramNormally(const std::string& path) {
  const std::wstring program = Utf8ToWide(path);
  // The program's own command line is its quoted path, as a shell would give it.
  std::wstring commandLine = L"\"" + program + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION process{};
  if (!::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
    return false;
  }
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
  return true;
}

bool OpenWithShell(const std::string& address) {
  const std::wstring target = Utf8ToWide(address);
  const HINSTANCE result =
      ::ShellExecuteW(::GetActiveWindow(), L"open", target.c_str(), L"", L"", SW_SHOWNORMAL);
  // Values above 32 mean success.
  return reinterpret_cast<INT_PTR>(result) > 32;
}

}  // namespace vellora::shell
