#include "win32_render_platform.h"

#include <cstdio>

#include "platform/win32/win32_folder_probes.h"

namespace vellora::renderer {
namespace {

constexpr const char* kWindowClass = "OpenGL";

// The window procedure has no user data yet while CreateWindowEx runs, so the one handler of
// this one-window program is kept here.
WindowEventHandler* g_handler = nullptr;

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

}  // namespace

Win32RenderPlatform::Win32RenderPlatform() : instance_(GetModuleHandleA(nullptr)) {}

void Win32RenderPlatform::ShowMessageBox(const std::string& caption, const std::string& text) {
  std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
  std::fflush(stderr);
  MessageBoxA(nullptr, text.c_str(), caption.c_str(), MB_OK);
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

ScreenPoint Win32RenderPlatform::CursorPosition() {
  POINT point = {};
  GetCursorPos(&point);
  return {point.x, point.y};
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
  if (g_handler != nullptr && event.kind != WindowEvent::Kind::Other && g_handler->RenderWindowProc(event)) return 0;
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace vellora::renderer
