// The capture reference: the root window read with one XGetImage and turned into BMP bytes.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <vector>

#include "reference_steps.h"

namespace vellora::bench {
namespace {

int ShiftOf(unsigned long mask) {
  int shift = 0;
  while (mask != 0 && (mask & 1) == 0) mask >>= 1, ++shift;
  return shift;
}

// The image's pixels as BMP rows: bottom-up, blue-green-red, each row padded to 4 bytes. The
// common 32-bit little-endian layout is read straight from memory; any other goes through
// XGetPixel. Assumes 8-bit channels, as on every TrueColor depth-24 screen.
std::vector<unsigned char> ToBmpBytes(XImage* image) {
  const int width = image->width, height = image->height;
  const size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
  std::vector<unsigned char> bytes(54 + stride * height);
  const int red = ShiftOf(image->red_mask), green = ShiftOf(image->green_mask), blue = ShiftOf(image->blue_mask);
  const bool direct = image->bits_per_pixel == 32 && image->byte_order == LSBFirst;
  for (int y = 0; y < height; ++y) {
    unsigned char* out = bytes.data() + 54 + stride * (height - 1 - y);
    const auto* row = reinterpret_cast<const unsigned char*>(image->data + static_cast<size_t>(y) * image->bytes_per_line);
    for (int x = 0; x < width; ++x, out += 3) {
      unsigned long pixel;
      if (direct) {
        const unsigned char* p = row + 4 * x;
        pixel = p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<unsigned long>(p[3]) << 24);
      } else {
        pixel = XGetPixel(image, x, y);
      }
      out[0] = static_cast<unsigned char>(pixel >> blue);
      out[1] = static_cast<unsigned char>(pixel >> green);
      out[2] = static_cast<unsigned char>(pixel >> red);
    }
  }
  return bytes;
}

}  // namespace

int CaptureStep() {
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    std::fprintf(stderr, "capture: cannot open the display\n");
    return 1;
  }
  const int screen = DefaultScreen(display);
  const unsigned width = DisplayWidth(display, screen), height = DisplayHeight(display, screen);
  const int64_t start = MonotonicNs();
  XImage* image = XGetImage(display, RootWindow(display, screen), 0, 0, width, height, AllPlanes, ZPixmap);
  const int64_t read = MonotonicNs();
  if (image == nullptr) {
    std::fprintf(stderr, "capture: XGetImage failed\n");
    return 1;
  }
  const std::vector<unsigned char> bytes = ToBmpBytes(image);
  const int64_t done = MonotonicNs();
  XDestroyImage(image);
  XCloseDisplay(display);
  std::printf("xgetimage_ns=%lld\ncapture_ns=%lld\nbytes=%zu\n", static_cast<long long>(read - start),
              static_cast<long long>(done - start), bytes.size());
  return 0;
}

}  // namespace vellora::bench
