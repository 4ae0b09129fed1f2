#include "platform/win32/win32_forms_busy_pointer.h"

#include "platform/win32/win32_forms_system.h"

namespace vellora::shell {
namespace {

// One user-interface thread: a process-wide flag, as the pointer itself is.
bool g_busy = false;

// The window of this thread under the pointer, if any.
HWND OwnWindowUnderPointer(POINT& where) {
  if (!::GetCursorPos(&where)) return nullptr;
  HWND window = ::WindowFromPoint(where);
  return window != nullptr && ::GetWindowThreadProcessId(window, nullptr) == ::GetCurrentThreadId() ? window : nullptr;
}

}  // namespace

void SetApplicationBusy(bool busy) {
  g_busy = busy;
  // The window under the pointer chooses its pointer again now, as it does when the mouse
  // moves: the hourglass while busy, afterwards its own (an entry field's I-beam, say).
  POINT where{};
  HWND window = OwnWindowUnderPointer(where);
  if (window == nullptr) return;
  const LRESULT hit = ::SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(where.x, where.y));
  ::SendMessageW(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window), MAKELPARAM(hit, WM_MOUSEMOVE));
}

bool ShowBusyCursorIfBusy() {
  if (!g_busy) return false;
  ::SetCursor(::LoadCursorA(nullptr, IDC_WAIT));
  return true;
}

}  // namespace vellora::shell
