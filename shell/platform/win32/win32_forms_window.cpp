#include "platform/win32/win32_forms_window.h"

#include <algorithm>
#include <cwchar>

#include "platform/canvas.h"
#include "platform/win32/win32_dib_pixels.h"
#include "platform/win32/win32_forms_busy_pointer.h"
#include "platform/win32/win32_forms_combo_box.h"
#include "platform/win32/win32_forms_text.h"
#include "platform/win32/win32_session_end.h"

namespace vellora::shell {
namespace {

constexpr wchar_t kWindowClass[] = L"VelloraForm";

DWORD StyleFor(const WindowOptions& options) {
  DWORD style = WS_CLIPCHILDREN;
  style |= options.parent != nullptr ? WS_CHILD | WS_CLIPSIBLINGS : WS_POPUP;
  // Caption and close box only: no sizing frame, no minimise or maximise box.
  if (options.frame == FrameStyle::FixedDialog) style |= WS_CAPTION | WS_SYSMENU;
  return style;
}

DWORD ExtendedStyleFor(const WindowOptions& options) {
  return options.frame == FrameStyle::FixedDialog ? WS_EX_DLGMODALFRAME : 0;
}

// The outer rectangle of a window whose client area is the given one, for its current styles.
RECT OuterRect(HWND window, PixelPoint position, PixelSize clientSize) {
  RECT rect{position.x, position.y, position.x + std::max(clientSize.width, 0),
            position.y + std::max(clientSize.height, 0)};
  const DWORD style = static_cast<DWORD>(::GetWindowLongW(window, GWL_STYLE));
  const DWORD extended = static_cast<DWORD>(::GetWindowLongW(window, GWL_EXSTYLE));
  ::AdjustWindowRectEx(&rect, style, FALSE, extended);
  return rect;
}

// Shift state as the runtime numbers it: 1 shift, 2 ctrl, 4 alt.
int ShiftState(WPARAM wParam) {
  int shift = 0;
  if (wParam & MK_SHIFT) shift |= 1;
  if (wParam & MK_CONTROL) shift |= 2;
  if (::GetKeyState(VK_MENU) < 0) shift |= 4;
  return shift;
}

// Buttons held during a move, as a mask of the runtime's button numbers.
int HeldButtons(WPARAM wParam) {
  int buttons = 0;
  if (wParam & MK_LBUTTON) buttons |= kLeftButton;
  if (wParam & MK_RBUTTON) buttons |= kRightButton;
  if (wParam & MK_MBUTTON) buttons |= kMiddleButton;
  return buttons;
}

PixelPoint PointOf(LPARAM lParam) { return {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }

}  // namespace

bool Win32Window::RegisterWindowClass(HINSTANCE instance) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = &Win32Window::WindowProcedure;
  windowClass.hInstance = instance;
  windowClass.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
  windowClass.lpszClassName = kWindowClass;
  // No background brush: the window paints its picture and the background colour itself.
  return ::RegisterClassExW(&windowClass) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

Win32Window::Win32Window(HINSTANCE instance, const WindowOptions& options, WindowEvents& events)
    : events_(events), background_(options.background) {
  HWND parent = options.parent != nullptr ? reinterpret_cast<HWND>(options.parent->Handle()) : nullptr;
  const PixelPoint position = parent != nullptr ? options.childPosition : PixelPoint{};
  RECT outer{position.x, position.y, position.x + std::max(options.clientSize.width, 0),
             position.y + std::max(options.clientSize.height, 0)};
  ::AdjustWindowRectEx(&outer, StyleFor(options), FALSE, ExtendedStyleFor(options));
  const std::wstring title = Utf8ToWide(options.title);
  // The window procedure learns its object from the creation parameter (WM_NCCREATE).
  ::CreateWindowExW(ExtendedStyleFor(options), kWindowClass, title.c_str(), StyleFor(options), outer.left,
                    outer.top, outer.right - outer.left, outer.bottom - outer.top, parent, nullptr, instance, this);
  reportedSize_ = ClientSize();
  if (window_ != nullptr && options.icon != nullptr) icon_.Set(window_, *options.icon);
  reporting_ = true;
}

Win32Window::~Win32Window() {
  if (window_ == nullptr) return;
  // Detached first: the WM_DESTROY that follows is ours and is not reported.
  ::SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
  ::DestroyWindow(window_);
}

LRESULT CALLBACK Win32Window::WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<Win32Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->window_ = window;
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  // The session's end reaches every top-level window of the process, the hidden session form's too.
  if (LRESULT answer = 0; HandleSessionEndMessage(message, wParam, answer)) return answer;
  auto* self = reinterpret_cast<Win32Window*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr) return ::DefWindowProcW(window, message, wParam, lParam);
  return self->HandleMessage(message, wParam, lParam);
}

LRESULT Win32Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;  // WM_PAINT covers every pixel
    case WM_PAINT:
      Paint();
      return 0;
    case WM_SETCURSOR:
      if (ShowBusyCursorIfBusy()) return TRUE;
      break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      MouseButton(message, wParam, lParam);
      return 0;
    case WM_MOUSEMOVE:
      if (reporting_) events_.OnMouseMove(HeldButtons(wParam), ShiftState(wParam), PointOf(lParam));
      return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      if (reporting_) events_.OnFocusChanged(message == WM_SETFOCUS);
      return 0;
    case WM_SIZE: {
      const PixelSize size{LOWORD(lParam), HIWORD(lParam)};
      if (reporting_ && (size.width != reportedSize_.width || size.height != reportedSize_.height)) {
        reportedSize_ = size;
        events_.OnResized(size);
      }
      return 0;
    }
    case WM_COMMAND:
      // Notifications of native controls (the combo box) come to their parent window.
      if (lParam != 0) Win32ComboBox::ForwardNotification(reinterpret_cast<HWND>(lParam), HIWORD(wParam));
      return 0;
    case WM_CLOSE:
      // The owner decides; the window stays until its object is destroyed. The owner may
      // destroy this object inside the call, so nothing of it is touched afterwards.
      if (reporting_) events_.OnCloseRequested();
      return 0;
    case WM_DESTROY: {
      // Still attached, so not destroyed through our destructor: a foreign parent went away
      // and took this window with it. The owner may destroy this object inside the call.
      ::SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
      window_ = nullptr;
      events_.OnDestroyedFromOutside();
      return 0;
    }
    default:
      break;
  }
  return ::DefWindowProcW(window_, message, wParam, lParam);
}

void Win32Window::MouseButton(UINT message, WPARAM wParam, LPARAM lParam) {
  int button = kLeftButton;
  if (message == WM_RBUTTONDOWN || message == WM_RBUTTONUP) button = kRightButton;
  if (message == WM_MBUTTONDOWN || message == WM_MBUTTONUP) button = kMiddleButton;
  const bool down = message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN;
  if (down) {
    // The release is reported even when it happens outside the window.
    ::SetCapture(window_);
    // A clicked child window (picture panel, user control) takes the focus, as a form does.
    if ((::GetWindowLongW(window_, GWL_STYLE) & WS_CHILD) != 0 && ::GetFocus() != window_) ::SetFocus(window_);
  } else if (HeldButtons(wParam) == 0 && ::GetCapture() == window_) {
    ::ReleaseCapture();
  }
  if (!reporting_) return;
  if (down) {
    events_.OnMouseDown(button, ShiftState(wParam), PointOf(lParam));
  } else {
    events_.OnMouseUp(button, ShiftState(wParam), PointOf(lParam));
  }
}

void Win32Window::Paint() {
  PAINTSTRUCT paint;
  HDC dc = ::BeginPaint(window_, &paint);
  RECT client{};
  ::GetClientRect(window_, &client);
  if (!picture_.empty()) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = pictureWidth_;
    info.bmiHeader.biHeight = -pictureHeight_;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    ::StretchDIBits(dc, 0, 0, pictureWidth_, pictureHeight_, 0, 0, pictureWidth_, pictureHeight_, picture_.data(),
                    &info, DIB_RGB_COLORS, SRCCOPY);
  }
  // What the picture does not cover shows the background colour.
  HBRUSH brush = ::CreateSolidBrush(RGB(background_.r, background_.g, background_.b));
  const RECT right{pictureWidth_, 0, client.right, client.bottom};
  const RECT below{0, pictureHeight_, std::min<LONG>(pictureWidth_, client.right), client.bottom};
  if (right.left < right.right && right.top < right.bottom) ::FillRect(dc, &right, brush);
  if (below.left < below.right && below.top < below.bottom) ::FillRect(dc, &below, brush);
  ::DeleteObject(brush);
  ::EndPaint(window_, &paint);
}

bool Win32Window::RouteTabKey(const MSG& message) {
  if (message.message != WM_KEYDOWN || message.wParam != VK_TAB) return false;
  if (::GetKeyState(VK_CONTROL) < 0 || ::GetKeyState(VK_MENU) < 0) return false;
  HWND form = ::GetAncestor(message.hwnd, GA_ROOT);
  wchar_t className[32] = {};
  if (form == nullptr || ::GetClassNameW(form, className, 32) == 0 || std::wcscmp(className, kWindowClass) != 0)
    return false;
  auto* self = reinterpret_cast<Win32Window*>(::GetWindowLongPtrW(form, GWLP_USERDATA));
  if (self == nullptr || !self->reporting_) return false;
  return self->events_.OnTabKey(::GetKeyState(VK_SHIFT) < 0);
}

NativeWindow Win32Window::Handle() const { return reinterpret_cast<uintptr_t>(window_); }

void Win32Window::SetTitle(const std::string& title) {
  if (window_ != nullptr) ::SetWindowTextW(window_, Utf8ToWide(title).c_str());
}

void Win32Window::Move(PixelPoint position, PixelSize clientSize) {
  if (window_ == nullptr) return;
  const RECT outer = OuterRect(window_, position, clientSize);
  ::SetWindowPos(window_, nullptr, outer.left, outer.top, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

PixelRect Win32Window::ScreenRect() const {
  RECT rect{};
  if (window_ == nullptr || !::GetWindowRect(window_, &rect)) return {};
  return {rect.left, rect.top, rect.right, rect.bottom};
}

PixelMargins Win32Window::FrameMargins() const {
  RECT outer{}, client{};
  if (window_ == nullptr || !::GetWindowRect(window_, &outer) || !::GetClientRect(window_, &client)) return {};
  POINT origin{0, 0};
  ::ClientToScreen(window_, &origin);
  return {origin.x - outer.left, origin.y - outer.top, outer.right - (origin.x + client.right),
          outer.bottom - (origin.y + client.bottom)};
}

PixelSize Win32Window::ClientSize() const {
  RECT rect{};
  if (window_ == nullptr || !::GetClientRect(window_, &rect)) return {};
  return {rect.right - rect.left, rect.bottom - rect.top};
}

void Win32Window::SetVisible(bool visible) {
  if (window_ != nullptr) ::ShowWindow(window_, visible ? SW_SHOW : SW_HIDE);
}

void Win32Window::Present(const Canvas& picture) {
  picture_ = CanvasToDib24(picture);
  pictureWidth_ = picture.Width();
  pictureHeight_ = picture.Height();
  if (window_ != nullptr) ::InvalidateRect(window_, nullptr, FALSE);
}

void Win32Window::SetFocus() {
  if (window_ != nullptr) ::SetFocus(window_);
}

bool Win32Window::HasFocus() const { return window_ != nullptr && ::GetFocus() == window_; }

bool Win32Window::AdoptInto(NativeWindow foreignParent) {
  if (window_ == nullptr) return false;
  HWND parent = reinterpret_cast<HWND>(static_cast<uintptr_t>(foreignParent));
  // Child bit first, so that the window is a child when it enters the foreign window; then
  // the new parent; then the parent's top-left corner.
  const LONG style = ::GetWindowLongA(window_, GWL_STYLE);
  ::SetWindowLongA(window_, GWL_STYLE, style | WS_CHILD);
  const bool adopted = ::SetParent(window_, parent) != nullptr;
  ::SetWindowPos(window_, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  return adopted;
}

bool Win32Window::IsWindowAtPoint(PixelPoint screenPoint) const {
  return window_ != nullptr && ::WindowFromPoint(POINT{screenPoint.x, screenPoint.y}) == window_;
}

}  // namespace vellora::shell
