// A small modal message box drawn with Xlib alone: the caption as window title, the text, and
// an OK button that a click, Return or Escape closes. A close request or the box's destruction
// by another program ends it as OK does.
#pragma once

#include <X11/Xlib.h>

#include <string>

namespace vellora::renderer {

// Blocks until the box is dismissed. Returns false when no box could be shown. A non-zero
// owner (the render window) becomes the box's transient-for window, so that a window manager
// keeps the box above it.
bool ShowX11MessageBox(Display* display, const std::string& caption, const std::string& text, Window owner);

}  // namespace vellora::renderer
