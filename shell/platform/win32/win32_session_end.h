// The end of the Windows session (log-off, shut-down) as it reaches the windows of the forms:
// WM_QUERYENDSESSION asks whether the session may end, WM_ENDSESSION says that it does.
#pragma once

#include <windows.h>

#include <functional>

namespace vellora::shell {

// onEnd runs once, on the first WM_ENDSESSION that ends the session; the process then ends
// with exit code 0.
void SetSessionEndHandler(std::function<void()> onEnd);

// For a form window's procedure: true when the message was one of the two and has been
// answered (result holds the answer). A session end is never refused.
bool HandleSessionEndMessage(UINT message, WPARAM wParam, LRESULT& result);

}  // namespace vellora::shell
