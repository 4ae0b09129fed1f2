#include "platform/gtk/x11_screen.h"

#include <X11/extensions/Xfixes.h>
#include <gdk/gdkx.h>

#include <algorithm>

#include "platform/gtk/display_resolution.h"
#include "platform/gtk/x11_error_trap.h"
#include "runtime/canvas.h"

namespace vellora::shell {

PixelSize X11ScreenSize(_XDisplay* display) {
  const int screen = DefaultScreen(display);
  return {DisplayWidth(display, screen), DisplayHeight(display, screen)};
}

double X11DotsPerInch(_XDisplay* display) {
  if (const double dpi = ParseDpiResource(XGetDefault(display, "Xft", "dpi")); dpi > 0) return dpi;
  if (const double dpi = gdk_screen_get_resolution(gdk_screen_get_default()); dpi > 0) return dpi;
  return kDefaultDotsPerInch;
}

bool X11CaptureScreen(Canvas& into) {
  GdkWindow* root = gdk_get_default_root_window();
  const int width = gdk_window_get_width(root), height = gdk_window_get_height(root);
  into.Resize(width, height);
  X11ErrorTrap trap;
  // GDK reads the root window through its visual, so every depth and channel layout arrives as RGB.
  GdkPixbuf* pixbuf = gdk_pixbuf_get_from_window(root, 0, 0, width, height);
  trap.Succeeded();
  if (!pixbuf) return false;
  const int channels = gdk_pixbuf_get_n_channels(pixbuf), stride = gdk_pixbuf_get_rowstride(pixbuf);
  const int copyWidth = std::min(width, gdk_pixbuf_get_width(pixbuf));
  const int copyHeight = std::min(height, gdk_pixbuf_get_height(pixbuf));
  const guchar* pixels = gdk_pixbuf_read_pixels(pixbuf);
  uint8_t* target = into.Bytes().data();
  for (int y = 0; y < copyHeight; ++y) {
    const guchar* from = pixels + static_cast<size_t>(y) * stride;
    uint8_t* to = target + static_cast<size_t>(y) * width * 3;
    for (int x = 0; x < copyWidth; ++x, from += channels, to += 3) to[0] = from[0], to[1] = from[1], to[2] = from[2];
  }
  g_object_unref(pixbuf);
  return true;
}

bool X11PointerPosition(_XDisplay* display, PixelPoint& where) {
  Window root = None, child = None;
  int rootX = 0, rootY = 0, x = 0, y = 0;
  unsigned int mask = 0;
  X11ErrorTrap trap;
  const bool onScreen = XQueryPointer(display, DefaultRootWindow(display), &root, &child, &rootX, &rootY, &x, &y, &mask);
  if (!trap.Succeeded() || !onScreen) return false;
  where = {rootX, rootY};
  return true;
}

void X11CursorVisibility::Show(_XDisplay* display, bool show) {
  const CursorShowCount::Change change = count_.Step(show);
  if (change == CursorShowCount::Change::Unchanged) return;
  int eventBase = 0, errorBase = 0;
  if (!XFixesQueryExtension(display, &eventBase, &errorBase)) return;
  int major = 4, minor = 0;  // cursor hiding came with version 4; the version must be asked first
  if (!XFixesQueryVersion(display, &major, &minor) || major < 4) return;
  X11ErrorTrap trap;
  if (change == CursorShowCount::Change::Hide) {
    XFixesHideCursor(display, DefaultRootWindow(display));
  } else {
    XFixesShowCursor(display, DefaultRootWindow(display));
  }
  trap.Succeeded();  // also sends the request at once
}

}  // namespace vellora::shell
