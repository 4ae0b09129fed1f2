#include "platform/gtk/x11_error_trap.h"

namespace vellora::shell {
namespace {

// The innermost trap on a connection of the shell's own; traps nest and end in reverse order,
// all on the one thread that talks to X.
X11ErrorTrap* innermost = nullptr;

GdkDisplay* GdkDisplayOf(Display* display) {
  GdkDisplay* gdkDisplay = gdk_display_get_default();
  return gdkDisplay != nullptr && GDK_IS_X11_DISPLAY(gdkDisplay) && GDK_DISPLAY_XDISPLAY(gdkDisplay) == display
             ? gdkDisplay
             : nullptr;
}

}  // namespace

X11ErrorTrap::X11ErrorTrap(Display* display) : display_(display), gdkDisplay_(GdkDisplayOf(display)) {
  if (gdkDisplay_ != nullptr) {
    gdk_x11_display_error_trap_push(gdkDisplay_);
    return;
  }
  outer_ = innermost;
  innermost = this;
  previous_ = XSetErrorHandler(OnError);
}

X11ErrorTrap::~X11ErrorTrap() {
  if (popped_) return;
  if (gdkDisplay_ != nullptr) gdk_x11_display_error_trap_pop_ignored(gdkDisplay_);
  else Pop();
}

bool X11ErrorTrap::Succeeded() {
  popped_ = true;
  if (gdkDisplay_ != nullptr) return gdk_x11_display_error_trap_pop(gdkDisplay_) == 0;
  return Pop() == 0;
}

int X11ErrorTrap::Pop() {
  popped_ = true;
  // The answers to every request so far arrive now, while this trap still counts them.
  XSync(display_, False);
  XSetErrorHandler(previous_);
  innermost = outer_;
  return errors_;
}

int X11ErrorTrap::OnError(Display* display, XErrorEvent* error) {
  for (X11ErrorTrap* trap = innermost; trap != nullptr; trap = trap->outer_) {
    if (trap->display_ == display) {
      ++trap->errors_;
      return 0;
    }
  }
  // Another connection's error (GDK's, whose handler knows what to do with it).
  X11ErrorTrap* outermost = innermost;
  while (outermost != nullptr && outermost->outer_ != nullptr) outermost = outermost->outer_;
  return outermost != nullptr && outermost->previous_ != nullptr ? outermost->previous_(display, error) : 0;
}

}  // namespace vellora::shell
