#include "platform/win32/win32_forms_busy_pointer.h"

#include "platform/win32/win32_forms_system.h"

namespace vellora::shell {
namespace {

// One user-interface thread: a process-wide flag, as the pointer itself is.
bool g_busy = false;

bool PointerOverOwnWindow() {
  POINT where{};
  if (!::GetCursorPos(&where)) return false;
  HWND window = ::WindowFromPoint(where);
  return window != nullptr && ::GetWindowThreadProcessId(window, nullptr) == ::GetCurrentThreadId();
}

}  // namespace

void SetApplicationBusy(bool busy) {
  g_busy = busy;
  if (PointerOverOwnWindow()) ::SetCursor(::LoadCursorA(nullptr, busy ? IDC_WAIT : IDC_ARROW));
}

bool ShowBusyCursorIfBusy() {
  if (!g_busy) return false;
  ::SetCursor(::LoadCursorA(nullptr, IDC_WAIT));
  return true;
}

}  // namespace vellora::shell
