#include "platform/win32/win32_dib_pixels.h"

#include <algorithm>

#include "platform/canvas.h"

namespace vellora::shell {

size_t Dib24RowStride(int32_t width) {
  const size_t bytes = static_cast<size_t>(width < 0 ? 0 : width) * 3;
  return (bytes + 3) & ~static_cast<size_t>(3);
}

std::vector<uint8_t> CanvasToDib24(const Canvas& canvas) {
  const int32_t width = canvas.Width(), height = canvas.Height();
  const size_t stride = Dib24RowStride(width);
  std::vector<uint8_t> rows(stride * static_cast<size_t>(height), 0);
  const uint8_t* source = canvas.Bytes().data();
  for (int32_t y = 0; y < height; ++y) {
    uint8_t* row = &rows[stride * static_cast<size_t>(y)];
    for (int32_t x = 0; x < width; ++x, source += 3) {
      row[3 * x] = source[2];
      row[3 * x + 1] = source[1];
      row[3 * x + 2] = source[0];
    }
  }
  return rows;
}

void Dib24ToCanvas(const uint8_t* rows, int32_t width, int32_t height, size_t stride, Canvas& into) {
  into.Resize(width, height);
  uint8_t* target = into.Bytes().data();
  for (int32_t y = 0; y < into.Height(); ++y) {
    const uint8_t* row = rows + stride * static_cast<size_t>(y);
    for (int32_t x = 0; x < into.Width(); ++x, target += 3) {
      target[0] = row[3 * x + 2];
      target[1] = row[3 * x + 1];
      target[2] = row[3 * x];
    }
  }
}

void CanvasRegionToDib32(const Canvas& canvas, PixelRect region, uint8_t* rows) {
  for (int32_t y = region.top; y < region.bottom; ++y) {
    const uint8_t* source = &canvas.Bytes()[(static_cast<size_t>(y) * canvas.Width() + region.left) * 3];
    for (int32_t x = region.left; x < region.right; ++x, source += 3, rows += 4) {
      rows[0] = source[2];
      rows[1] = source[1];
      rows[2] = source[0];
      rows[3] = 0;
    }
  }
}

void Dib32ToCanvasRegion(const uint8_t* rows, PixelRect region, Canvas& canvas) {
  for (int32_t y = region.top; y < region.bottom; ++y) {
    uint8_t* target = &canvas.Bytes()[(static_cast<size_t>(y) * canvas.Width() + region.left) * 3];
    for (int32_t x = region.left; x < region.right; ++x, target += 3, rows += 4) {
      target[0] = rows[2];
      target[1] = rows[1];
      target[2] = rows[0];
    }
  }
}

std::vector<uint8_t> CanvasToIconBgra(const Canvas& canvas, int32_t size) {
  const int32_t side = size < 0 ? 0 : size;
  std::vector<uint8_t> rows(static_cast<size_t>(side) * side * 4, 0);
  if (canvas.Empty()) return rows;
  const int64_t width = canvas.Width(), height = canvas.Height();
  uint8_t* target = rows.data();
  for (int32_t y = 0; y < side; ++y) {
    const int64_t top = y * height / side, bottom = std::max(top + 1, (y + 1) * height / side);
    for (int32_t x = 0; x < side; ++x, target += 4) {
      const int64_t left = x * width / side, right = std::max(left + 1, (x + 1) * width / side);
      uint32_t sum[3] = {0, 0, 0};
      for (int64_t sy = top; sy < bottom; ++sy)
        for (int64_t sx = left; sx < right; ++sx) {
          const Rgb c = canvas.Pixel(static_cast<int32_t>(sx), static_cast<int32_t>(sy));
          sum[0] += c.b;
          sum[1] += c.g;
          sum[2] += c.r;
        }
      const uint32_t count = static_cast<uint32_t>((bottom - top) * (right - left));
      for (int i = 0; i < 3; ++i) target[i] = static_cast<uint8_t>((sum[i] + count / 2) / count);
      target[3] = 255;
    }
  }
  return rows;
}

}  // namespace vellora::shell
