// A copy of the whole screen, as the desktop window's device context shows it, or of any part
// of the virtual screen that several monitors make.
#pragma once

#include "platform/forms_platform.h"

namespace vellora::shell {

class Canvas;

// The canvas becomes the screen's size and receives its pixels; false when the copy failed
// (the canvas then keeps the screen's size, in black).
bool CaptureDesktop(Canvas& into);

// The same for a rectangle in virtual-screen coordinates (monitors left of or above the
// primary lie at negative ones), copied from the screen's device context in one block.
bool CaptureVirtualScreenArea(PixelRect area, Canvas& into);

}  // namespace vellora::shell
