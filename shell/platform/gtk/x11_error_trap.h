// Scoped trapping of X errors: a request on a window that another client has just destroyed
// must fail quietly instead of ending the process.
//
// On GDK's connection GDK's own traps are used. On a connection of the shell's own (a session
// works over one until its toolkit is up) an Xlib error handler counts that connection's
// errors while the trap lasts and hands any other connection's to the handler it replaced.
#pragma once

#include <gdk/gdkx.h>

namespace vellora::shell {

class X11ErrorTrap {
 public:
  explicit X11ErrorTrap(Display* display);
  ~X11ErrorTrap();
  X11ErrorTrap(const X11ErrorTrap&) = delete;
  X11ErrorTrap& operator=(const X11ErrorTrap&) = delete;

  // Waits for the server's answers to the requests made so far; true when none failed.
  bool Succeeded();

 private:
  static int OnError(Display* display, XErrorEvent* error);
  int Pop();

  Display* display_;
  GdkDisplay* gdkDisplay_ = nullptr;  // set when the connection is GDK's
  int (*previous_)(Display*, XErrorEvent*) = nullptr;
  X11ErrorTrap* outer_ = nullptr;
  int errors_ = 0;
  bool popped_ = false;
};

// Xlib's display behind GDK's default display.
inline Display* X11Display() { return GDK_DISPLAY_XDISPLAY(gdk_display_get_default()); }

}  // namespace vellora::shell
