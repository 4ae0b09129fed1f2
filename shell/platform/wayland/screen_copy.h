// The primary output's picture through the wlroots screen-copy protocol, into shared memory
// and from there into a canvas.
#pragma once

#include "platform/wayland/wayland_desktop.h"

namespace vellora::shell {

class Canvas;

// Needs the desktop's screen-copy manager, shared memory and a primary output. False when the
// compositor fails the copy, offers no format the canvas can take, or has not answered by the
// deadline. The pointer is left out of the picture.
bool CaptureWithScreenCopy(WaylandDesktop& desktop, Deadline deadline, Canvas& into);

}  // namespace vellora::shell
