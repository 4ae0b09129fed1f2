#include "platform/canvas.h"

#include <algorithm>
#include <cstdlib>

namespace vellora::shell {

void Canvas::Resize(int32_t width, int32_t height, Rgb fill) {
  width_ = std::max(width, 0);
  height_ = std::max(height, 0);
  pixels_.assign(static_cast<size_t>(width_) * static_cast<size_t>(height_) * 3, 0);
  if (fill != Rgb{}) Clear(fill);  // black it is already
}

void Canvas::Clear(Rgb colour) { FillRect({0, 0, width_, height_}, colour); }

Rgb Canvas::Pixel(int32_t x, int32_t y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return {};
  const uint8_t* p = &pixels_[(static_cast<size_t>(y) * width_ + x) * 3];
  return {p[0], p[1], p[2]};
}

void Canvas::SetPixel(int32_t x, int32_t y, Rgb colour) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  uint8_t* p = &pixels_[(static_cast<size_t>(y) * width_ + x) * 3];
  p[0] = colour.r;
  p[1] = colour.g;
  p[2] = colour.b;
}

void Canvas::DrawLine(int32_t x0, int32_t y0, int32_t x1, int32_t y1, Rgb colour) {
  if (y0 == y1) {  // the common case, clipped in one step
    if (x1 < x0) std::swap(x0, x1), ++x0, ++x1;  // from right to left: x1 is still excluded
    FillRect({x0, y0, x1, y0 + 1}, colour);
    return;
  }
  // Bresenham, stopping before the end point.
  const int64_t dx = std::llabs(int64_t{x1} - x0), dy = -std::llabs(int64_t{y1} - y0);
  const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
  int64_t error = dx + dy;
  int64_t x = x0, y = y0;
  while (!(x == x1 && y == y1)) {
    SetPixel(static_cast<int32_t>(x), static_cast<int32_t>(y), colour);
    const int64_t twice = 2 * error;
    if (twice >= dy) error += dy, x += sx;
    if (twice <= dx) error += dx, y += sy;
  }
}

void Canvas::FillRect(PixelRect rect, Rgb colour) {
  const int32_t left = std::max(rect.left, 0), right = std::min(rect.right, width_);
  const int32_t top = std::max(rect.top, 0), bottom = std::min(rect.bottom, height_);
  if (left >= right || top >= bottom) return;
  // The first row pixel by pixel, then the others copied from it (a screen-sized fill is
  // millions of pixels).
  const size_t rowBytes = static_cast<size_t>(right - left) * 3;
  uint8_t* first = &pixels_[(static_cast<size_t>(top) * width_ + left) * 3];
  for (size_t i = 0; i < rowBytes; i += 3) {
    first[i] = colour.r;
    first[i + 1] = colour.g;
    first[i + 2] = colour.b;
  }
  for (int32_t y = top + 1; y < bottom; ++y)
    std::copy(first, first + rowBytes, &pixels_[(static_cast<size_t>(y) * width_ + left) * 3]);
}

void Canvas::FrameRect(PixelRect rect, Rgb colour) {
  if (rect.Width() <= 0 || rect.Height() <= 0) return;
  FillRect({rect.left, rect.top, rect.right, rect.top + 1}, colour);
  FillRect({rect.left, rect.bottom - 1, rect.right, rect.bottom}, colour);
  FillRect({rect.left, rect.top, rect.left + 1, rect.bottom}, colour);
  FillRect({rect.right - 1, rect.top, rect.right, rect.bottom}, colour);
}

void Canvas::FillVerticalGradient(PixelRect rect, Rgb top, Rgb bottom) {
  const int32_t height = rect.Height();
  if (height <= 0 || rect.Width() <= 0) return;
  const auto channel = [height](uint8_t from, uint8_t to, int32_t row) {
    // 16-bit channel values (colour << 8), interpolated as the platform's gradient fill does.
    const int64_t a = int64_t{from} << 8, b = int64_t{to} << 8;
    return static_cast<uint8_t>((a + (b - a) * row / height) >> 8);
  };
  for (int32_t row = 0; row < height; ++row) {
    const Rgb c{channel(top.r, bottom.r, row), channel(top.g, bottom.g, row), channel(top.b, bottom.b, row)};
    FillRect({rect.left, rect.top + row, rect.right, rect.top + row + 1}, c);
  }
}

void Canvas::StretchCopy(const Canvas& picture, PixelRect source, PixelRect destination) {
  const int32_t dw = destination.Width(), dh = destination.Height();
  const int32_t sw = source.Width(), sh = source.Height();
  if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return;
  for (int32_t y = 0; y < dh; ++y) {
    const int32_t sy = source.top + static_cast<int32_t>(int64_t{y} * sh / dh);
    for (int32_t x = 0; x < dw; ++x) {
      const int32_t sx = source.left + static_cast<int32_t>(int64_t{x} * sw / dw);
      if (sx < 0 || sy < 0 || sx >= picture.Width() || sy >= picture.Height()) continue;
      SetPixel(destination.left + x, destination.top + y, picture.Pixel(sx, sy));
    }
  }
}

void Canvas::Blit(const Canvas& picture, int32_t x, int32_t y) {
  StretchCopy(picture, {0, 0, picture.Width(), picture.Height()},
              {x, y, x + picture.Width(), y + picture.Height()});
}

}  // namespace vellora::shell
