// Other programs' windows, looked at through the X window tree.
#pragma once

#include <string>

#include "platform/forms_platform.h"

// Xlib's display, declared here so that X's macros (None, Bool, Status) stay out of the
// files that include this one.
struct _XDisplay;

namespace vellora::shell {

// True when some window anywhere under the root, mapped or not, has exactly this title in
// WM_NAME or _NET_WM_NAME. Windows that vanish during the walk are skipped.
bool X11FindWindowByTitle(_XDisplay* display, const std::string& title);

// The window's rectangle on the screen; for a window framed by the window manager the frame
// (_NET_FRAME_EXTENTS) is included. False when no such window exists.
bool X11WindowScreenRect(_XDisplay* display, unsigned long window, PixelRect& rect);

// True when the id names an existing window.
bool X11WindowExists(_XDisplay* display, unsigned long window);

}  // namespace vellora::shell
