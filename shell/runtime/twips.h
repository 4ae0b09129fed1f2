// Sizes in twips (1/1440 inch), as forms and controls are designed, and their pixels.
#pragma once

#include <cmath>
#include <cstdint>

namespace vellora::shell {

struct TwipsRect {
  int32_t left = 0, top = 0, width = 0, height = 0;
};

// Pixels for a length in twips at the given twips per pixel, to the nearest pixel.
inline int32_t TwipsToPixels(double twips, double twipsPerPixel) {
  return twipsPerPixel > 0 ? static_cast<int32_t>(std::lround(twips / twipsPerPixel)) : 0;
}

inline double PixelsToTwips(int32_t pixels, double twipsPerPixel) { return pixels * twipsPerPixel; }

}  // namespace vellora::shell
