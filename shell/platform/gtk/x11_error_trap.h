// Scoped trapping of X errors on GDK's connection: a request on a window that another client
// has just destroyed must fail quietly instead of ending the process.
#pragma once

#include <gdk/gdkx.h>

namespace vellora::shell {

class X11ErrorTrap {
 public:
  X11ErrorTrap() : display_(gdk_display_get_default()) { gdk_x11_display_error_trap_push(display_); }
  ~X11ErrorTrap() {
    if (!popped_) gdk_x11_display_error_trap_pop_ignored(display_);
  }
  X11ErrorTrap(const X11ErrorTrap&) = delete;
  X11ErrorTrap& operator=(const X11ErrorTrap&) = delete;

  // Waits for the server's answers to the requests made so far; true when none failed.
  bool Succeeded() {
    popped_ = true;
    return gdk_x11_display_error_trap_pop(display_) == 0;
  }

 private:
  GdkDisplay* display_;
  bool popped_ = false;
};

// Xlib's display behind GDK's default display.
inline Display* X11Display() { return GDK_DISPLAY_XDISPLAY(gdk_display_get_default()); }

}  // namespace vellora::shell
