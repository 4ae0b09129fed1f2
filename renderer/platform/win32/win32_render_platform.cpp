#include "win32_render_platform.h"

#include <cstdio>
#include <map>

#include "platform/win32/win32_folder_probes.h"
#include "platform/win32/win32_monitors.h"

namespace vellora::renderer {
namespace {

constexpr const char* kWindowClass = "OpenGL";

// The window procedure has no user data yet while CreateWindowEx runs, so the render window's
// handler is kept here, and the handler of each monitor window by its handle; a monitor window
// being created is known by its handler alone until CreateWindowEx returns.
WindowEventHandler* g_handler = nullptr;
std::map<HWND, WindowEventHandler*> g_monitorHandlers;
WindowEventHandler* g_creatingMonitor = nullptr;

WindowEventHandler* HandlerOf(HWND window) {
  const auto found = g_monitorHandlers.find(window);
  if (found != g_monitorHandlers.end()) return found->second;
  if (g_creatingMonitor != nullptr) {
    g_monitorHandlers[window] = g_creatingMonitor;
    return g_creatingMonitor;
  }
  return g_handler;
}

const PIXELFORMATDESCRIPTOR kPixelFormat = {
    sizeof(PIXELFORMATDESCRIPTOR), 1,
    PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER,
    PFD_TYPE_RGBA, 32,
    0, 0, 0, 0, 0, 0,  // colour bits and shifts
    0, 0,              // alpha
    0, 0, 0, 0, 0,     // accumulation
    16,                // depth
    0, 0,              // stencil, auxiliary buffers
    PFD_MAIN_PLANE, 0, 0, 0, 0};

// Centres a message box of this thread on the primary monitor as it is activated: a box without
// an owner would otherwise come up wherever the system puts new windows, maybe on another monitor.
LRESULT CALLBACK CentreOnPrimaryMonitor(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE) {
    HWND box = reinterpret_cast<HWND>(wParam);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    RECT rect{};
    const POINT origin{0, 0};
    if (GetMonitorInfoA(MonitorFromPoint(origin, MONITOR_DEFAULTTOPRIMARY), &info) && GetWindowRect(box, &rect)) {
      const RECT& work = info.rcWork;
      const LONG width = rect.right - rect.left, height = rect.bottom - rect.top;
      SetWindowPos(box, nullptr, work.left + (work.right - work.left - width) / 2,
                   work.top + (work.bottom - work.top - height) / 2, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

Win32RenderPlatform::Win32RenderPlatform() : instance_(GetModuleHandleA(nullptr)) {}

void Win32RenderPlatform::ShowMessageBox(const std::string& caption, const std::string& text) {
  std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
  std::fflush(stderr);
  HHOOK hook = SetWindowsHookExA(WH_CBT, &CentreOnPrimaryMonitor, nullptr, GetCurrentThreadId());
  MessageBoxA(nullptr, text.c_str(), caption.c_str(), MB_OK);
  if (hook != nullptr) UnhookWindowsHookEx(hook);
}

void Win32RenderPlatform::ExitProcess(int code) { ::ExitProcess(static_cast<UINT>(code)); }

std::string Win32RenderPlatform::ExecutableFolder() {
  char path[MAX_PATH + 1] = {};
  const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  const std::string exe(path, n);
  const size_t separator = exe.find_last_of("\\/");
  return separator == std::string::npos ? std::string() : exe.substr(0, separator + 1);
}

DataFolderProbes& Win32RenderPlatform::FolderProbes() {
  // The snapshot path goes to the C library's fopen, which takes ANSI text.
  static Win32FolderProbes probes(PathEncoding::AnsiCodePage);
  return probes;
}

bool Win32RenderPlatform::RegisterWindowClass() {
  WNDCLASSA windowClass = {};
  windowClass.style = CS_HREDRAW | CS_VREDRAW | CS_OWNDC;
  windowClass.lpfnWndProc = &Win32RenderPlatform::WindowProcedure;
  windowClass.hInstance = instance_;
  windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
  windowClass.lpszClassName = kWindowClass;
  return RegisterClassA(&windowClass) != 0;
}

void Win32RenderPlatform::UnregisterWindowClass() { UnregisterClassA(kWindowClass, instance_); }

ScreenMetrics Win32RenderPlatform::QueryScreenMetrics() {
  return {GetSystemMetrics(SM_CXMAXIMIZED), GetSystemMetrics(SM_CYMAXIMIZED), GetSystemMetrics(SM_CYCAPTION)};
}

bool Win32RenderPlatform::CreateRenderWindow(const std::string& title, int32_t x, int32_t y, int32_t width,
                                             int32_t height, WindowEventHandler& handler) {
  g_handler = &handler;
  window_ = CreateWindowExA(WS_EX_APPWINDOW | WS_EX_WINDOWEDGE, kWindowClass, title.c_str(),
                            WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, x, y, width, height, nullptr, nullptr,
                            instance_, nullptr);
  return window_ != nullptr;
}

void Win32RenderPlatform::DestroyRenderWindow() {
  DestroyWindow(window_);
  window_ = nullptr;
}

bool Win32RenderPlatform::AcquireDeviceContext() {
  deviceContext_ = GetDC(window_);
  return deviceContext_ != nullptr;
}

void Win32RenderPlatform::ReleaseDeviceContext() {
  ReleaseDC(window_, deviceContext_);
  deviceContext_ = nullptr;
}

int Win32RenderPlatform::ChoosePixelFormat() { return ::ChoosePixelFormat(deviceContext_, &kPixelFormat); }

bool Win32RenderPlatform::SetPixelFormat(int format) {
  return ::SetPixelFormat(deviceContext_, format, &kPixelFormat) != FALSE;
}

bool Win32RenderPlatform::CreateGLContext() {
  renderingContext_ = wglCreateContext(deviceContext_);
  return renderingContext_ != nullptr;
}

bool Win32RenderPlatform::MakeContextCurrent() {
  if (!wglMakeCurrent(deviceContext_, renderingContext_)) return false;
  // Pacing comes from the buffer swap, so ask it to wait for the display where the driver can.
  using SwapIntervalExt = BOOL(WINAPI*)(int);
  if (auto swapInterval = reinterpret_cast<SwapIntervalExt>(
          reinterpret_cast<void*>(wglGetProcAddress("wglSwapIntervalEXT"))))
    swapInterval(1);
  return true;
}

bool Win32RenderPlatform::DetachContext() { return wglMakeCurrent(nullptr, nullptr) != FALSE; }

void Win32RenderPlatform::DeleteGLContext() {
  if (renderingContext_ != nullptr) wglDeleteContext(renderingContext_);
  renderingContext_ = nullptr;
}

void Win32RenderPlatform::StartTimer(uint32_t id, uint32_t intervalMs) { SetTimer(window_, id, intervalMs, nullptr); }

void Win32RenderPlatform::ShowAndFocusWindow() {
  ShowWindow(window_, SW_SHOW);
  SetForegroundWindow(window_);
  SetFocus(window_);
}

void Win32RenderPlatform::SetWindowTitle(const std::string& title) { SetWindowTextA(window_, title.c_str()); }

PumpResult Win32RenderPlatform::PumpOneMessage() {
  MSG message;
  if (!PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) return PumpResult::QueueEmpty;
  if (message.message == WM_QUIT) return PumpResult::Quit;
  TranslateMessage(&message);
  DispatchMessageA(&message);
  return PumpResult::Dispatched;
}

void Win32RenderPlatform::PostQuit() { PostQuitMessage(0); }

void Win32RenderPlatform::SwapBuffers() { ::SwapBuffers(deviceContext_); }

std::vector<MonitorRect> Win32RenderPlatform::Monitors() { return Win32Monitors(); }

bool Win32RenderPlatform::MakeRenderContextCurrent() { return wglMakeCurrent(deviceContext_, renderingContext_) != FALSE; }

// A popup of the render window's class (its own device context) with the same pixel format and
// a WGL context of its own.
class Win32RenderPlatform::Win32MonitorWindow final : public MonitorWindow {
 public:
  Win32MonitorWindow(HWND window, HDC deviceContext, HGLRC context)
      : window_(window), deviceContext_(deviceContext), context_(context) {}
  ~Win32MonitorWindow() override {
    if (context_ != nullptr) {
      if (wglGetCurrentContext() == context_) wglMakeCurrent(nullptr, nullptr);
      wglDeleteContext(context_);
    }
    if (deviceContext_ != nullptr) ReleaseDC(window_, deviceContext_);
    DestroyWindow(window_);
  }
  bool MakeContextCurrent() override { return wglMakeCurrent(deviceContext_, context_) != FALSE; }
  void SwapBuffers() override { ::SwapBuffers(deviceContext_); }

 private:
  HWND window_;
  HDC deviceContext_;
  HGLRC context_;
};

std::unique_ptr<MonitorWindow> Win32RenderPlatform::OpenMonitorWindow(const std::string& title, const MonitorRect& area,
                                                                       WindowEventHandler& handler) {
  g_creatingMonitor = &handler;
  HWND window = CreateWindowExA(WS_EX_APPWINDOW | WS_EX_WINDOWEDGE, kWindowClass, title.c_str(),
                                WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, area.left, area.top, area.width,
                                area.height, nullptr, nullptr, instance_, nullptr);
  g_creatingMonitor = nullptr;
  if (window == nullptr) return nullptr;
  g_monitorHandlers[window] = &handler;
  HDC deviceContext = GetDC(window);
  const int format = deviceContext != nullptr ? ::ChoosePixelFormat(deviceContext, &kPixelFormat) : 0;
  HGLRC context = nullptr;
  if (format != 0 && ::SetPixelFormat(deviceContext, format, &kPixelFormat)) context = wglCreateContext(deviceContext);
  auto monitorWindow = std::make_unique<Win32MonitorWindow>(window, deviceContext, context);
  if (context == nullptr || !monitorWindow->MakeContextCurrent()) return nullptr;
  // Only the render window's swap waits for the display: waiting at every window's swap would
  // divide the frame rate by the number of monitors.
  using SwapIntervalExt = BOOL(WINAPI*)(int);
  if (auto swapInterval = reinterpret_cast<SwapIntervalExt>(
          reinterpret_cast<void*>(wglGetProcAddress("wglSwapIntervalEXT"))))
    swapInterval(0);
  // Shown without the focus, which stays with the render window.
  ShowWindow(window, SW_SHOWNOACTIVATE);
  return monitorWindow;
}

std::optional<ScreenPoint> Win32RenderPlatform::CursorPosition() {
  POINT point = {};
  GetCursorPos(&point);
  return ScreenPoint{point.x, point.y};
}

void Win32RenderPlatform::ShowCursor(bool show) { ::ShowCursor(show ? TRUE : FALSE); }

// The 64-bit tick count: the 32-bit one wraps after 49.7 days.
uint64_t Win32RenderPlatform::TickCount() { return GetTickCount64(); }

LRESULT CALLBACK Win32RenderPlatform::WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  WindowEvent event;
  switch (message) {
    case WM_CREATE: event.kind = WindowEvent::Kind::Create; break;
    case WM_SIZE:
      event.kind = WindowEvent::Kind::Size;
      event.width = LOWORD(lParam);
      event.height = HIWORD(lParam);
      break;
    case WM_CLOSE: event.kind = WindowEvent::Kind::Close; break;
    case WM_KEYDOWN: event.kind = WindowEvent::Kind::KeyDown; event.key = static_cast<uint32_t>(wParam); break;
    case WM_KEYUP: event.kind = WindowEvent::Kind::KeyUp; event.key = static_cast<uint32_t>(wParam); break;
    case WM_TIMER: event.kind = WindowEvent::Kind::Timer; event.timerId = static_cast<uint32_t>(wParam); break;
    default: break;
  }
  WindowEventHandler* handler = HandlerOf(window);
  if (message == WM_NCDESTROY) g_monitorHandlers.erase(window);
  if (handler != nullptr && event.kind != WindowEvent::Kind::Other && handler->RenderWindowProc(event)) return 0;
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace vellora::renderer
