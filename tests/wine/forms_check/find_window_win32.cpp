// find_window_win32 TITLE [--close]: looks for a top-level window with exactly this title from
// another process, the way the shell's start-up guard does (FindWindowW, no class name), so that
// hidden windows count. Prints "found" or "missing" and exits 0 or 1; with --close it also posts
// a close request (WM_CLOSE) to the window found.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cwchar>

int main() {
  int count = 0;
  wchar_t** arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  if (arguments == nullptr || count < 2) {
    std::fprintf(stderr, "usage: find_window_win32 TITLE [--close]\n");
    return 2;
  }
  HWND window = ::FindWindowW(nullptr, arguments[1]);
  const bool close = count > 2 && std::wcscmp(arguments[2], L"--close") == 0;
  if (window != nullptr && close) ::PostMessageW(window, WM_CLOSE, 0, 0);
  std::printf("%s\n", window != nullptr ? "found" : "missing");
  ::LocalFree(arguments);
  return window != nullptr ? 0 : 1;
}
