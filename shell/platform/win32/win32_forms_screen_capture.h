// A copy of the whole screen, as the desktop window's device context shows it.
#pragma once

namespace vellora::shell {

class Canvas;

// The canvas becomes the screen's size and receives its pixels; false when the copy failed
// (the canvas then keeps the screen's size, in black).
bool CaptureDesktop(Canvas& into);

}  // namespace vellora::shell
