#include "platform/gtk/zoom_animation.h"

#include <X11/extensions/shape.h>

#include <algorithm>
#include <vector>

#include <glib.h>

#include "platform/gtk/x11_error_trap.h"
#include "platform/gtk/zoom_geometry.h"

namespace vellora::shell {

namespace {
constexpr int kFrames = 8;
constexpr int kFrameMicroseconds = 25000;
constexpr int kOutlineThickness = 2;

unsigned long OutlinePixel(_XDisplay* display) {
  XColor grey{};
  grey.red = grey.green = grey.blue = 0x8080;
  grey.flags = DoRed | DoGreen | DoBlue;
  if (XAllocColor(display, DefaultColormap(display, DefaultScreen(display)), &grey)) return grey.pixel;
  return BlackPixel(display, DefaultScreen(display));
}

void ShapeAsOutline(_XDisplay* display, Window window, PixelRect rect) {
  std::vector<XRectangle> bands;
  for (const PixelRect& band : OutlineBands(rect, kOutlineThickness)) {
    bands.push_back({static_cast<short>(band.left), static_cast<short>(band.top),
                     static_cast<unsigned short>(band.Width()), static_cast<unsigned short>(band.Height())});
  }
  XShapeCombineRectangles(display, window, ShapeBounding, 0, 0, bands.data(), static_cast<int>(bands.size()), ShapeSet,
                          Unsorted);
  // The outline never takes the pointer: clicks go to whatever lies below it.
  XShapeCombineRectangles(display, window, ShapeInput, 0, 0, nullptr, 0, ShapeSet, Unsorted);
}
}  // namespace

void X11ZoomAnimation(_XDisplay* display, PixelRect from, PixelRect to) {
  int eventBase = 0, errorBase = 0;
  if (!XShapeQueryExtension(display, &eventBase, &errorBase)) return;
  X11ErrorTrap trap(display);
  XSetWindowAttributes attributes{};
  attributes.override_redirect = True;
  attributes.background_pixel = OutlinePixel(display);
  attributes.save_under = True;
  const Window outline =
      XCreateWindow(display, DefaultRootWindow(display), from.left, from.top, 1, 1, 0, CopyFromParent, InputOutput,
                    CopyFromParent, CWOverrideRedirect | CWBackPixel | CWSaveUnder, &attributes);
  for (int frame = 0; frame <= kFrames; ++frame) {
    const PixelRect rect = ZoomFrameRect(from, to, frame, kFrames);
    const unsigned width = static_cast<unsigned>(std::max(rect.Width(), 1));
    const unsigned height = static_cast<unsigned>(std::max(rect.Height(), 1));
    ShapeAsOutline(display, outline, rect);
    XMoveResizeWindow(display, outline, rect.left, rect.top, width, height);
    if (frame == 0) XMapRaised(display, outline);
    XSync(display, False);
    g_usleep(kFrameMicroseconds);
  }
  XDestroyWindow(display, outline);
  trap.Succeeded();
}

}  // namespace vellora::shell
