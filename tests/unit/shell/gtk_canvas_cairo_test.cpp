#include "platform/gtk/canvas_cairo.h"

#include <gtest/gtest.h>

#include "platform/canvas.h"

namespace vellora::shell {
namespace {

// Every pixel a different colour, so that a swapped channel or a shifted row shows.
Canvas Pattern(int32_t width, int32_t height) {
  Canvas canvas(width, height);
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x)
      canvas.SetPixel(x, y, {static_cast<uint8_t>(x * 17 + 3), static_cast<uint8_t>(y * 29 + 5),
                             static_cast<uint8_t>(x * 7 + y * 11 + 200)});
  return canvas;
}

Rgb SurfacePixel(cairo_surface_t* surface, int x, int y) {
  const auto* row = cairo_image_surface_get_data(surface) + y * cairo_image_surface_get_stride(surface);
  const uint32_t pixel = reinterpret_cast<const uint32_t*>(row)[x];
  return {static_cast<uint8_t>(pixel >> 16), static_cast<uint8_t>(pixel >> 8), static_cast<uint8_t>(pixel)};
}

TEST(GtkCanvasCairo, SurfaceHoldsTheCanvasPixelsInItsOwnLayout) {
  const Canvas canvas = Pattern(13, 7);  // odd width: padded surface rows
  cairo_surface_t* surface = SurfaceFromCanvas(canvas, {0, 0, 13, 7});
  ASSERT_EQ(cairo_image_surface_get_format(surface), CAIRO_FORMAT_RGB24);
  ASSERT_EQ(cairo_image_surface_get_width(surface), 13);
  ASSERT_EQ(cairo_image_surface_get_height(surface), 7);
  for (int y = 0; y < 7; ++y)
    for (int x = 0; x < 13; ++x) ASSERT_EQ(SurfacePixel(surface, x, y), canvas.Pixel(x, y)) << x << "," << y;
  cairo_surface_destroy(surface);
}

TEST(GtkCanvasCairo, AreaIsClippedToTheCanvas) {
  const Canvas canvas = Pattern(10, 8);
  cairo_surface_t* surface = SurfaceFromCanvas(canvas, {-3, 5, 4, 20});
  ASSERT_EQ(cairo_image_surface_get_width(surface), 4);
  ASSERT_EQ(cairo_image_surface_get_height(surface), 3);
  EXPECT_EQ(SurfacePixel(surface, 0, 0), canvas.Pixel(0, 5));
  EXPECT_EQ(SurfacePixel(surface, 3, 2), canvas.Pixel(3, 7));
  cairo_surface_destroy(surface);

  cairo_surface_t* outside = SurfaceFromCanvas(canvas, {20, 20, 30, 30});
  EXPECT_EQ(cairo_image_surface_get_width(outside), 0);
  cairo_surface_destroy(outside);
}

TEST(GtkCanvasCairo, CopyBackLandsAtItsPlaceAndLeavesTheRestAlone) {
  const Canvas source = Pattern(12, 9);
  cairo_surface_t* surface = SurfaceFromCanvas(source, {2, 3, 7, 6});  // 5 x 3
  Canvas target(12, 9, {1, 2, 3});
  CopySurfaceToCanvas(surface, target, 2, 3);
  for (int y = 0; y < 9; ++y) {
    for (int x = 0; x < 12; ++x) {
      const bool inside = x >= 2 && x < 7 && y >= 3 && y < 6;
      ASSERT_EQ(target.Pixel(x, y), (inside ? source.Pixel(x, y) : Rgb{1, 2, 3})) << x << "," << y;
    }
  }
  cairo_surface_destroy(surface);
}

TEST(GtkCanvasCairo, CopyBackIsClippedAtEveryEdge) {
  const Canvas source = Pattern(6, 6);
  cairo_surface_t* surface = SurfaceFromCanvas(source, {0, 0, 6, 6});
  Canvas target(4, 4, {9, 9, 9});
  CopySurfaceToCanvas(surface, target, -2, -1);  // the surface's (2, 1) lands on (0, 0)
  EXPECT_EQ(target.Pixel(0, 0), source.Pixel(2, 1));
  EXPECT_EQ(target.Pixel(3, 3), source.Pixel(5, 4));
  Canvas corner(4, 4, {9, 9, 9});
  CopySurfaceToCanvas(surface, corner, 3, 2);
  EXPECT_EQ(corner.Pixel(2, 1), (Rgb{9, 9, 9}));
  EXPECT_EQ(corner.Pixel(3, 2), source.Pixel(0, 0));
  EXPECT_EQ(corner.Pixel(3, 3), source.Pixel(0, 1));
  cairo_surface_destroy(surface);
}

}  // namespace
}  // namespace vellora::shell
