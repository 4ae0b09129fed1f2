// A small modal message box drawn with Xlib alone: the caption as window title, the text, and
// an OK button that a click, Return or Escape closes.
#pragma once

#include <X11/Xlib.h>

#include <string>

namespace vellora::renderer {

// Blocks until the box is dismissed. Returns false when no box could be shown.
bool ShowX11MessageBox(Display* display, const std::string& caption, const std::string& text);

}  // namespace vellora::renderer
