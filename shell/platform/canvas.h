// A retained drawing surface: 24-bit pixels that persist until drawn over, shown in a window
// by the platform and saved as a bitmap file. Rows run top to bottom, 3 bytes per pixel in
// red, green, blue order, with no padding.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/forms_platform.h"

namespace vellora::shell {

class Canvas {
 public:
  Canvas() = default;
  Canvas(int32_t width, int32_t height, Rgb fill = {}) { Resize(width, height, fill); }

  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  bool Empty() const { return width_ == 0 || height_ == 0; }

  // New size; every pixel becomes fill. Negative sizes count as 0.
  void Resize(int32_t width, int32_t height, Rgb fill = {});
  void Clear(Rgb colour);

  Rgb Pixel(int32_t x, int32_t y) const;
  void SetPixel(int32_t x, int32_t y, Rgb colour);  // ignored outside the canvas

  // A line from (x0, y0) to (x1, y1), the last point excluded, as the platform draws lines.
  void DrawLine(int32_t x0, int32_t y0, int32_t x1, int32_t y1, Rgb colour);
  // Fills left <= x < right, top <= y < bottom, clipped to the canvas.
  void FillRect(PixelRect rect, Rgb colour);
  // One-pixel outline of the rectangle (right and bottom edges inside it).
  void FrameRect(PixelRect rect, Rgb colour);
  // Vertical gradient over the rectangle: the top row is top, colours reach bottom at the
  // rectangle's bottom edge, interpolated per row with 16-bit channels.
  void FillVerticalGradient(PixelRect rect, Rgb top, Rgb bottom);
  // Copies the source rectangle of picture into the destination rectangle, scaling by
  // nearest neighbour; plain copy, no transparency.
  void StretchCopy(const Canvas& picture, PixelRect source, PixelRect destination);
  // Copies the whole picture with its top-left corner at (x, y), unscaled and clipped.
  void Blit(const Canvas& picture, int32_t x, int32_t y);

  const std::vector<uint8_t>& Bytes() const { return pixels_; }
  std::vector<uint8_t>& Bytes() { return pixels_; }

 private:
  int32_t width_ = 0;
  int32_t height_ = 0;
  std::vector<uint8_t> pixels_;
};

}  // namespace vellora::shell
