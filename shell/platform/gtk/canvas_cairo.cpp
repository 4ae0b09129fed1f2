#include "platform/gtk/canvas_cairo.h"

#include <algorithm>
#include <cstdint>

#include "platform/canvas.h"

namespace vellora::shell {

cairo_surface_t* SurfaceFromCanvas(const Canvas& canvas, PixelRect area) {
  const int32_t left = std::max(area.left, 0), top = std::max(area.top, 0);
  const int32_t right = std::min(area.right, canvas.Width()), bottom = std::min(area.bottom, canvas.Height());
  const int32_t width = std::max(right - left, 0), height = std::max(bottom - top, 0);
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
  if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS || width == 0 || height == 0) return surface;
  cairo_surface_flush(surface);
  unsigned char* data = cairo_image_surface_get_data(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  const uint8_t* source = canvas.Bytes().data();
  for (int32_t y = 0; y < height; ++y) {
    const uint8_t* from = source + (static_cast<size_t>(top + y) * canvas.Width() + left) * 3;
    auto* to = reinterpret_cast<uint32_t*>(data + static_cast<size_t>(y) * stride);
    for (int32_t x = 0; x < width; ++x, from += 3)
      to[x] = (uint32_t{from[0]} << 16) | (uint32_t{from[1]} << 8) | from[2];
  }
  cairo_surface_mark_dirty(surface);
  return surface;
}

void CopySurfaceToCanvas(cairo_surface_t* surface, Canvas& canvas, int32_t x, int32_t y) {
  if (!surface || cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) return;
  cairo_surface_flush(surface);
  const int width = cairo_image_surface_get_width(surface), height = cairo_image_surface_get_height(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  const unsigned char* data = cairo_image_surface_get_data(surface);
  if (!data) return;
  const int32_t left = std::max(x, 0), top = std::max(y, 0);
  const int32_t right = std::min(x + width, canvas.Width()), bottom = std::min(y + height, canvas.Height());
  uint8_t* target = canvas.Bytes().data();
  for (int32_t row = top; row < bottom; ++row) {
    const auto* from = reinterpret_cast<const uint32_t*>(data + static_cast<size_t>(row - y) * stride);
    uint8_t* to = target + (static_cast<size_t>(row) * canvas.Width() + left) * 3;
    for (int32_t column = left; column < right; ++column, to += 3) {
      const uint32_t pixel = from[column - x];
      to[0] = static_cast<uint8_t>(pixel >> 16);
      to[1] = static_cast<uint8_t>(pixel >> 8);
      to[2] = static_cast<uint8_t>(pixel);
    }
  }
}

}  // namespace vellora::shell
