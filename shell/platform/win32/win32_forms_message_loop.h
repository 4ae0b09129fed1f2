// The user-interface thread's message loop and its timers. Timers are window timers of a
// hidden message-only window, so that their ticks arrive as WM_TIMER messages between the other
// messages of the thread, in whichever loop is running (a modal form's, a dialog's).
#pragma once

#include <functional>
#include <map>
#include <vector>

#include "platform/forms_platform.h"
#include "platform/win32/win32_forms_system.h"

namespace vellora::shell {

class Win32MessageLoop {
 public:
  explicit Win32MessageLoop(HINSTANCE instance);
  ~Win32MessageLoop();
  Win32MessageLoop(const Win32MessageLoop&) = delete;
  Win32MessageLoop& operator=(const Win32MessageLoop&) = delete;

  // 0 when the system has no timer left to give.
  TimerId StartTimer(uint32_t intervalMs, std::function<void()> onTick);
  void StopTimer(TimerId timer);

  // Dispatches messages until Quit; a call from inside runs a nested loop, and Quit ends the
  // innermost loop that is running. Quit with no loop running does nothing.
  void Run();
  void Quit();

 private:
  static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void Tick(TimerId timer);

  HWND window_ = nullptr;
  std::map<TimerId, std::function<void()>> timers_;
  TimerId lastTimer_ = 0;
  // One flag per running loop, the innermost last.
  std::vector<char> quitRequested_;
};

}  // namespace vellora::shell
