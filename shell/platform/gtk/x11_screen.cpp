#include "platform/gtk/x11_screen.h"

#include <X11/Xutil.h>
#include <X11/extensions/Xfixes.h>
#include <gdk/gdkx.h>

#include <algorithm>

#include "platform/canvas.h"
#include "platform/gtk/display_resolution.h"
#include "platform/gtk/x11_error_trap.h"
#include "platform/x11/x11_monitors.h"

namespace vellora::shell {

PixelSize X11ScreenSize(_XDisplay* display) {
  const MonitorRect primary = X11Monitors(display).front();
  return {primary.width, primary.height};
}

std::vector<PixelRect> X11MonitorRects(_XDisplay* display) {
  std::vector<PixelRect> rects;
  for (const MonitorRect& m : X11Monitors(display)) rects.push_back({m.left, m.top, m.left + m.width, m.top + m.height});
  return rects;
}

double X11DotsPerInch(_XDisplay* display) {
  if (const double dpi = ParseDpiResource(XGetDefault(display, "Xft", "dpi")); dpi > 0) return dpi;
  if (GdkScreen* screen = gdk_screen_get_default()) {
    if (const double dpi = gdk_screen_get_resolution(screen); dpi > 0) return dpi;
  }
  return kDefaultDotsPerInch;
}

namespace {

// Position and width of a channel in a pixel value, from the visual's mask.
struct ChannelMask {
  explicit ChannelMask(unsigned long mask) {
    while (mask != 0 && (mask & 1) == 0) mask >>= 1, ++shift;
    while (mask & 1) mask >>= 1, ++bits;
  }
  uint8_t Extract(unsigned long pixel) const {
    if (bits == 0) return 0;
    const unsigned long value = (pixel >> shift) & ((1ul << bits) - 1);
    return static_cast<uint8_t>(bits >= 8 ? value >> (bits - 8) : value * 255 / ((1ul << bits) - 1));
  }
  int shift = 0, bits = 0;
};

}  // namespace

bool X11CaptureScreen(_XDisplay* display, Canvas& into) {
  const MonitorRect primary = X11Monitors(display).front();
  return X11CaptureArea(display, {primary.left, primary.top, primary.left + primary.width, primary.top + primary.height},
                        into);
}

bool X11CaptureArea(_XDisplay* display, PixelRect area, Canvas& into) {
  // The screen as it is shown: the root window with everything on it (XGetImage of the root
  // includes the mapped windows over it), read in the root visual's own channel layout.
  const int screen = DefaultScreen(display);
  const int width = area.Width(), height = area.Height();
  into.Resize(width, height);
  if (width <= 0 || height <= 0) return false;
  X11ErrorTrap trap(display);
  XImage* image = XGetImage(display, RootWindow(display, screen), area.left, area.top, static_cast<unsigned>(width),
                            static_cast<unsigned>(height), AllPlanes, ZPixmap);
  if (!trap.Succeeded() || image == nullptr) {
    if (image != nullptr) XDestroyImage(image);
    return false;
  }
  const Visual* visual = DefaultVisual(display, screen);
  uint8_t* target = into.Bytes().data();
  if (image->bits_per_pixel == 32 && image->byte_order == LSBFirst && visual->red_mask == 0xFF0000 &&
      visual->green_mask == 0xFF00 && visual->blue_mask == 0xFF) {
    // The usual 24-bit screen: blue, green, red, pad in memory; copied row by row.
    for (int y = 0; y < height; ++y) {
      const auto* from = reinterpret_cast<const uint8_t*>(image->data) + static_cast<size_t>(y) * image->bytes_per_line;
      for (int x = 0; x < width; ++x, from += 4, target += 3) target[0] = from[2], target[1] = from[1], target[2] = from[0];
    }
    XDestroyImage(image);
    return true;
  }
  const ChannelMask red(visual->red_mask), green(visual->green_mask), blue(visual->blue_mask);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x, target += 3) {
      const unsigned long pixel = XGetPixel(image, x, y);
      target[0] = red.Extract(pixel);
      target[1] = green.Extract(pixel);
      target[2] = blue.Extract(pixel);
    }
  }
  XDestroyImage(image);
  return true;
}

bool X11PointerPosition(_XDisplay* display, PixelPoint& where) {
  Window root = None, child = None;
  int rootX = 0, rootY = 0, x = 0, y = 0;
  unsigned int mask = 0;
  // The root window always exists, so this query cannot raise an X error (it runs 20 times a
  // second during a session, so it is kept to the one round trip).
  const bool onScreen = XQueryPointer(display, DefaultRootWindow(display), &root, &child, &rootX, &rootY, &x, &y, &mask);
  if (!onScreen) return false;
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
  X11ErrorTrap trap(display);
  if (change == CursorShowCount::Change::Hide) {
    XFixesHideCursor(display, DefaultRootWindow(display));
  } else {
    XFixesShowCursor(display, DefaultRootWindow(display));
  }
  trap.Succeeded();  // also sends the request at once
}

}  // namespace vellora::shell
