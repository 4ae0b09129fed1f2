// A stand-in for the display settings' preview monitor under Wine: a borderless magenta window
// of the given client size at (100, 100), whose handle it prints, and which closes itself when
// told to. It reports on stdout, one line each:
//   host <handle>                      the window is up (handle in decimal)
//   child <width>x<height> at <x>,<y> <style> <process>
//                                      a visible window titled "Preview Window" is a child of the
//                                      host: its rectangle in the host's client coordinates,
//                                      "ws_child" when its style has WS_CHILD ("no_ws_child"
//                                      otherwise), and "other_process" when it belongs to
//                                      another process ("same_process" otherwise)
//   closed                             the host window was destroyed
// Usage: preview_host_win32 WIDTH HEIGHT CLOSE_FLAG_FILE
// The window is destroyed once CLOSE_FLAG_FILE exists, as a settings page does when it goes.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

namespace {

const wchar_t* gCloseFlag = nullptr;
bool gChildReported = false;

void Report(const char* line) {
  std::fputs(line, stdout);
  std::fflush(stdout);
}

void Poll(HWND host) {
  if (!gChildReported) {
    HWND child = ::FindWindowExW(host, nullptr, nullptr, L"Preview Window");
    if (child != nullptr && ::IsWindowVisible(child)) {
      RECT r{};
      ::GetWindowRect(child, &r);
      ::MapWindowPoints(HWND_DESKTOP, host, reinterpret_cast<POINT*>(&r), 2);
      const bool childStyle = (::GetWindowLongW(child, GWL_STYLE) & WS_CHILD) != 0;
      DWORD owner = 0;
      ::GetWindowThreadProcessId(child, &owner);
      char line[128];
      std::snprintf(line, sizeof line, "child %ldx%ld at %ld,%ld %s %s\n", r.right - r.left, r.bottom - r.top, r.left,
                    r.top, childStyle ? "ws_child" : "no_ws_child",
                    owner != ::GetCurrentProcessId() ? "other_process" : "same_process");
      Report(line);
      gChildReported = true;
    }
  }
  if (::GetFileAttributesW(gCloseFlag) != INVALID_FILE_ATTRIBUTES) ::DestroyWindow(host);
}

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_TIMER:
      Poll(window);
      return 0;
    case WM_DESTROY:
      Report("closed\n");
      ::PostQuitMessage(0);
      return 0;
    default:
      return ::DefWindowProcW(window, message, wParam, lParam);
  }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: preview_host_win32 WIDTH HEIGHT CLOSE_FLAG_FILE\n");
    return 2;
  }
  const int width = _wtoi(argv[1]), height = _wtoi(argv[2]);
  gCloseFlag = argv[3];
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = HostProc;
  windowClass.hInstance = instance;
  windowClass.hbrBackground = ::CreateSolidBrush(RGB(255, 0, 255));
  windowClass.lpszClassName = L"VelloraPreviewHost";
  ::RegisterClassW(&windowClass);
  // A child window of another process paints over the host's background only where it lies.
  HWND host = ::CreateWindowExW(0, windowClass.lpszClassName, L"Preview Host",
                                WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 100, 100, width, height, nullptr,
                                nullptr, instance, nullptr);
  if (host == nullptr) return 1;
  char line[64];
  std::snprintf(line, sizeof line, "host %ld\n", static_cast<long>(reinterpret_cast<intptr_t>(host)));
  Report(line);
  ::SetTimer(host, 1, 100, nullptr);
  MSG message;
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  return 0;
}
