#include "platform/win32/win32_forms_process.h"

#include <utility>
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

namespace {

// Runs on a thread of its own, which ends with the call: the shell may take its time to find
// and start the handler (or talk to it by DDE), and nobody waits for that.
DWORD WINAPI OpenOnThread(LPVOID parameter) {
  auto* request = static_cast<std::pair<HWND, std::wstring>*>(parameter);
  const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  SHELLEXECUTEINFOW execute{};
  execute.cbSize = sizeof execute;
  // No error boxes (a failure is silent), and done before the thread ends.
  execute.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
  execute.hwnd = request->first;
  execute.lpVerb = L"open";
  execute.lpFile = request->second.c_str();
  execute.lpParameters = L"";
  execute.lpDirectory = L"";
  execute.nShow = SW_SHOWNORMAL;
  ::ShellExecuteExW(&execute);
  if (SUCCEEDED(com)) ::CoUninitialize();
  delete request;
  return 0;
}

}  // namespace

void OpenWithShell(const std::string& address) {
  auto* request = new std::pair<HWND, std::wstring>(::GetActiveWindow(), Utf8ToWide(address));
  HANDLE thread = ::CreateThread(nullptr, 0, &OpenOnThread, request, 0, nullptr);
  if (thread == nullptr) {
    delete request;
    return;
  }
  ::CloseHandle(thread);
}

}  // namespace vellora::shell
