#include "platform/win32/win32_forms_message_loop.h"

#include "platform/win32/win32_forms_window.h"

namespace vellora::shell {
namespace {

constexpr wchar_t kWindowClass[] = L"VelloraFormsTimers";
// Posted by Quit so that a loop waiting in GetMessage wakes up and sees its flag.
constexpr UINT kWakeUp = WM_APP + 1;

}  // namespace

Win32MessageLoop::Win32MessageLoop(HINSTANCE instance) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = &Win32MessageLoop::WindowProcedure;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = kWindowClass;
  ::RegisterClassExW(&windowClass);
  window_ = ::CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr);
  if (window_ != nullptr) ::SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

Win32MessageLoop::~Win32MessageLoop() {
  if (window_ == nullptr) return;
  for (const auto& timer : timers_) ::KillTimer(window_, timer.first);
  ::SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
  ::DestroyWindow(window_);
}

LRESULT CALLBACK Win32MessageLoop::WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<Win32MessageLoop*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self != nullptr && message == WM_TIMER) {
    self->Tick(static_cast<TimerId>(wParam));
    return 0;
  }
  if (message == kWakeUp) return 0;
  return ::DefWindowProcW(window, message, wParam, lParam);
}

TimerId Win32MessageLoop::StartTimer(uint32_t intervalMs, std::function<void()> onTick) {
  if (window_ == nullptr) return 0;
  do {
    ++lastTimer_;
  } while (lastTimer_ == 0 || timers_.count(lastTimer_) != 0);
  if (::SetTimer(window_, lastTimer_, intervalMs, nullptr) == 0) return 0;
  timers_[lastTimer_] = std::move(onTick);
  return lastTimer_;
}

void Win32MessageLoop::StopTimer(TimerId timer) {
  if (timers_.erase(timer) != 0) ::KillTimer(window_, timer);
}

void Win32MessageLoop::Tick(TimerId timer) {
  const auto found = timers_.find(timer);
  if (found == timers_.end()) return;
  // A copy: the handler may stop this timer, or start others, while it runs.
  const std::function<void()> onTick = found->second;
  if (onTick) onTick();
}

void Win32MessageLoop::Run() {
  const size_t level = quitRequested_.size();
  quitRequested_.push_back(0);
  MSG message;
  while (!quitRequested_[level]) {
    const BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) {
      // WM_QUIT (the session is ending): passed on to the loops outside this one.
      ::PostQuitMessage(static_cast<int>(message.wParam));
      break;
    }
    if (got == -1) break;
    if (Win32Window::RouteTabKey(message)) continue;
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  quitRequested_.pop_back();
}

void Win32MessageLoop::Quit() {
  if (quitRequested_.empty()) return;
  quitRequested_.back() = 1;
  if (window_ != nullptr) ::PostMessageW(window_, kWakeUp, 0, 0);
}

}  // namespace vellora::shell
