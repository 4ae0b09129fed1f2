#include "platform/gtk/gdk_widget_at_point.h"

#include <gdk/gdkx.h>

#include "platform/gtk/x11_error_trap.h"

namespace vellora::shell {

namespace {

// The innermost X window at the point that GDK knows as one of ours, found by walking down
// from the root through the mapped children that hold the point (the server skips windows
// whose input shape leaves the point out).
GdkWindow* OwnNativeWindowAt(PixelPoint point) {
  GdkDisplay* gdkDisplay = gdk_display_get_default();
  Display* display = GDK_DISPLAY_XDISPLAY(gdkDisplay);
  const Window root = DefaultRootWindow(display);
  GdkWindow* own = nullptr;
  X11ErrorTrap trap(display);
  Window window = root;
  for (int depth = 0; depth < 64; ++depth) {
    int x = 0, y = 0;
    Window child = None;
    if (!XTranslateCoordinates(display, root, window, point.x, point.y, &x, &y, &child) || child == None) break;
    window = child;
    if (GdkWindow* known = gdk_x11_window_lookup_for_display(gdkDisplay, window)) own = known;
    else if (own) break;  // a foreign window inside ours (a plug): the point is on it
  }
  return trap.Succeeded() ? own : nullptr;
}

// Below a native window GDK keeps client-side children; the topmost visible one holding the
// point, again and again.
GdkWindow* InnermostClientWindowAt(GdkWindow* window, int x, int y) {
  for (;;) {
    GdkWindow* hit = nullptr;
    for (GList* item = gdk_window_peek_children(window); item && !hit; item = item->next) {
      auto* child = static_cast<GdkWindow*>(item->data);
      if (!gdk_window_is_visible(child) || gdk_window_has_native(child)) continue;
      int left = 0, top = 0;
      gdk_window_get_position(child, &left, &top);
      if (x >= left && y >= top && x < left + gdk_window_get_width(child) && y < top + gdk_window_get_height(child)) {
        hit = child;
        x -= left;
        y -= top;
      }
    }
    if (!hit) return window;
    window = hit;
  }
}

}  // namespace

GtkWidget* WidgetAtScreenPoint(PixelPoint point) {
  GdkWindow* native = OwnNativeWindowAt(point);
  if (!native) return nullptr;
  int originX = 0, originY = 0;
  gdk_window_get_origin(native, &originX, &originY);
  GdkWindow* inner = InnermostClientWindowAt(native, point.x - originX, point.y - originY);
  gpointer owner = nullptr;
  gdk_window_get_user_data(inner, &owner);
  return owner && GTK_IS_WIDGET(owner) ? GTK_WIDGET(owner) : nullptr;
}

}  // namespace vellora::shell
