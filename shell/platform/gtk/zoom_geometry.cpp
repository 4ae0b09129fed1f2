#include "platform/gtk/zoom_geometry.h"

#include <algorithm>
#include <cmath>

namespace vellora::shell {

namespace {
int32_t Between(int32_t a, int32_t b, int frame, int frames) {
  return static_cast<int32_t>(std::lround(a + (static_cast<double>(b) - a) * frame / frames));
}
}  // namespace

PixelRect ZoomFrameRect(PixelRect from, PixelRect to, int frame, int frames) {
  if (frames <= 0 || frame >= frames) return to;
  if (frame <= 0) return from;
  return {Between(from.left, to.left, frame, frames), Between(from.top, to.top, frame, frames),
          Between(from.right, to.right, frame, frames), Between(from.bottom, to.bottom, frame, frames)};
}

std::vector<PixelRect> OutlineBands(PixelRect rect, int thickness) {
  const int32_t width = std::max(rect.Width(), 1), height = std::max(rect.Height(), 1);
  thickness = std::max(thickness, 1);
  if (width <= 2 * thickness || height <= 2 * thickness) return {{0, 0, width, height}};
  return {{0, 0, width, thickness},
          {0, height - thickness, width, height},
          {0, thickness, thickness, height - thickness},
          {width - thickness, thickness, width, height - thickness}};
}

}  // namespace vellora::shell
