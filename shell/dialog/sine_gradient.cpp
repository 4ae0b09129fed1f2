#include "dialog/sine_gradient.h"

#include <cmath>

#include "runtime/container.h"

namespace vellora::shell {

int SineGradientLevel(int y, int height) {
  const double k = height / 3.142;
  // nearbyint rounds halves to the even neighbour in the default rounding mode.
  return static_cast<int>(std::nearbyint(std::fabs(std::sin(y / k)) * 220.0));
}

void PaintSineGradient(Container& surface, Rgb (*colourOfLevel)(int level)) {
  const int height = surface.ScaleHeight(), width = surface.ScaleWidth();
  if (height <= 0) return;
  // The last row, y = H, lies just outside the picture, as does the line's end point.
  for (int y = 0; y <= height; ++y) surface.Surface().DrawLine(0, y, width, y, colourOfLevel(SineGradientLevel(y, height)));
}

Rgb DialogGradientColour(int level) {
  const auto l = static_cast<uint8_t>(level);
  return {l, l, static_cast<uint8_t>(level + 30)};
}

Rgb PanelGradientColour(int level) {
  const auto l = static_cast<uint8_t>(level + 30);
  return {l, l, l};
}

}  // namespace vellora::shell
