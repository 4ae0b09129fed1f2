// The screen as a whole: its size and resolution, its picture, and the pointer on it.
#pragma once

#include <vector>

#include "platform/forms_platform.h"
#include "platform/gtk/cursor_show_count.h"

// Xlib's display, declared here so that X's macros (None, Bool, Status) stay out of the
// files that include this one.
struct _XDisplay;

namespace vellora::shell {

// The primary monitor's size: it takes the place of the X screen (the whole of it with one
// monitor).
PixelSize X11ScreenSize(_XDisplay* display);

// The monitors (RandR 1.5, else Xinerama, else the X screen), the primary first.
std::vector<PixelRect> X11MonitorRects(_XDisplay* display);

// Dots per inch of the desktop: the Xft.dpi resource, else GDK's screen resolution (once GTK is
// up), else 96.
double X11DotsPerInch(_XDisplay* display);

// The primary monitor's pixels at any depth into the canvas, resized to it.
bool X11CaptureScreen(_XDisplay* display, Canvas& into);

// The root window's pixels inside the rectangle into the canvas, resized to it.
bool X11CaptureArea(_XDisplay* display, PixelRect area, Canvas& into);

// The pointer's position on the root window; false when it is on another screen.
bool X11PointerPosition(_XDisplay* display, PixelPoint& where);

// Hides or shows the pointer over the whole screen (XFixes), counted like ShowCursor.
class X11CursorVisibility {
 public:
  void Show(_XDisplay* display, bool show);

 private:
  CursorShowCount count_;
};

}  // namespace vellora::shell
