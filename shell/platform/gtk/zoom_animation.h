// The caption-zoom animation: an outline that travels from one screen rectangle to another.
#pragma once

#include "platform/forms_platform.h"

// Xlib's display, declared here so that X's macros (None, Bool, Status) stay out of the
// files that include this one.
struct _XDisplay;

namespace vellora::shell {

// Plays the animation and returns when it is over (about 200 ms). The outline is an
// override-redirect window shaped to a frame, which the server paints by itself; it is
// destroyed at the end, so nothing is left on the screen.
void X11ZoomAnimation(_XDisplay* display, PixelRect from, PixelRect to);

}  // namespace vellora::shell
