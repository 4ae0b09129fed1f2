// The desktop's picture through the desktop portal's Screenshot call on the session bus, the
// way GNOME and KDE offer it: non-interactive, though the desktop may ask the user once
// whether the program may take screenshots.
#pragma once

#include "platform/wayland/compositor_capture.h"
#include "platform/wayland/wayland_desktop.h"

namespace vellora::shell {

// The part of the screenshot to keep: the primary output's rectangle in the desktop's layout;
// an empty one keeps the whole picture.
struct PortalCrop {
  int32_t x = 0, y = 0, width = 0, height = 0;
};

// NotOffered when there is no session bus or no portal with the Screenshot interface on it;
// Failed when the portal refuses, the user says no, the picture cannot be read, or the answer
// has not come by the deadline (the request is then withdrawn, so that a question still on the
// screen goes away).
CompositorCapture CaptureWithPortal(PortalCrop crop, Deadline deadline, Canvas& into);

}  // namespace vellora::shell
