// A plain 24-bit picture, top row first, three bytes per pixel (red, green, blue), no padding.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vellora::tools {

struct RgbColour {
  uint8_t r = 0, g = 0, b = 0;
};

class RgbImage {
 public:
  RgbImage(int width, int height) : width_(width), height_(height), bytes_(size_t(width) * height * 3) {}

  int Width() const { return width_; }
  int Height() const { return height_; }
  const uint8_t* Row(int y) const { return &bytes_[size_t(y) * width_ * 3]; }
  uint8_t* Row(int y) { return &bytes_[size_t(y) * width_ * 3]; }

  void Set(int x, int y, RgbColour c) {
    uint8_t* p = Row(y) + size_t(x) * 3;
    p[0] = c.r;
    p[1] = c.g;
    p[2] = c.b;
  }

  // Fills the rectangle [left, right) x [top, bottom), clipped to the picture.
  void Fill(int left, int top, int right, int bottom, RgbColour c) {
    for (int y = top < 0 ? 0 : top; y < bottom && y < height_; ++y)
      for (int x = left < 0 ? 0 : left; x < right && x < width_; ++x) Set(x, y, c);
  }

 private:
  int width_, height_;
  std::vector<uint8_t> bytes_;
};

}  // namespace vellora::tools
