#include "platform/win32/win32_session_end.h"

namespace vellora::shell {
namespace {

std::function<void()>& SessionEndHandler() {
  static std::function<void()> handler;
  return handler;
}

}  // namespace

void SetSessionEndHandler(std::function<void()> onEnd) { SessionEndHandler() = std::move(onEnd); }

bool HandleSessionEndMessage(UINT message, WPARAM wParam, LRESULT& result) {
  if (message == WM_QUERYENDSESSION) {
    result = TRUE;
    return true;
  }
  if (message != WM_ENDSESSION) return false;
  result = 0;
  // wParam FALSE: another program refused, and the session goes on.
  if (wParam == FALSE || !SessionEndHandler()) return true;
  const std::function<void()> onEnd = std::move(SessionEndHandler());
  SessionEndHandler() = nullptr;
  onEnd();
  ::ExitProcess(0);
}

}  // namespace vellora::shell
