// The frame a window manager draws around a top-level window, as it reports it
// (_NET_FRAME_EXTENTS), also before the window is first mapped.
#pragma once

#include "platform/forms_platform.h"

// Xlib's display, declared here so that X's macros (None, Bool, Status) stay out of the
// files that include this one.
struct _XDisplay;

namespace vellora::shell {

// The frame the window manager reported for the window; false when it has reported none.
bool X11ReportedFrame(_XDisplay* display, unsigned long window, PixelMargins& frame);

// The frame the window manager will draw around the window once it is mapped. When none was
// reported yet, it is asked for (_NET_REQUEST_FRAME_EXTENTS) if the running manager offers
// that, and its answer awaited for at most waitMs. False when there is no window manager, it
// does not offer the request, or it did not answer in time.
bool X11RequestFrame(_XDisplay* display, unsigned long window, int waitMs, PixelMargins& frame);

}  // namespace vellora::shell
