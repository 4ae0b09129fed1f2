// Canvas pixels to and from the rows of GDI bitmaps: channel order and row padding.
#include "platform/win32/win32_dib_pixels.h"

#include <gtest/gtest.h>

#include "platform/canvas.h"

namespace vellora::shell {
namespace {

// A canvas whose every pixel differs: red counts x, green counts y, blue marks the position.
Canvas NumberedCanvas(int32_t width, int32_t height) {
  Canvas canvas(width, height);
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x)
      canvas.SetPixel(x, y, Rgb{static_cast<uint8_t>(x), static_cast<uint8_t>(y),
                                static_cast<uint8_t>(100 + x * height + y)});
  return canvas;
}

TEST(Win32DibPixels, RowsOf24BitBitmapsArePaddedToFourBytes) {
  EXPECT_EQ(Dib24RowStride(0), 0u);
  EXPECT_EQ(Dib24RowStride(1), 4u);
  EXPECT_EQ(Dib24RowStride(2), 8u);
  EXPECT_EQ(Dib24RowStride(3), 12u);
  EXPECT_EQ(Dib24RowStride(4), 12u);
  EXPECT_EQ(Dib24RowStride(5), 16u);
  EXPECT_EQ(Dib24RowStride(-3), 0u);
}

TEST(Win32DibPixels, CanvasBecomesBlueGreenRedRowsTopDownWithZeroPadding) {
  for (int32_t width : {1, 2, 3, 4, 5, 7}) {
    const Canvas canvas = NumberedCanvas(width, 3);
    const std::vector<uint8_t> rows = CanvasToDib24(canvas);
    const size_t stride = Dib24RowStride(width);
    ASSERT_EQ(rows.size(), stride * 3) << width;
    for (int32_t y = 0; y < 3; ++y) {
      for (int32_t x = 0; x < width; ++x) {
        const uint8_t* p = &rows[stride * y + 3 * x];
        const Rgb c = canvas.Pixel(x, y);
        EXPECT_EQ(p[0], c.b) << width << " " << x << "," << y;
        EXPECT_EQ(p[1], c.g);
        EXPECT_EQ(p[2], c.r);
      }
      for (size_t pad = static_cast<size_t>(width) * 3; pad < stride; ++pad) EXPECT_EQ(rows[stride * y + pad], 0);
    }
  }
}

TEST(Win32DibPixels, PaddedRowsComeBackAsTheSameCanvas) {
  for (int32_t width : {1, 3, 6}) {
    const Canvas original = NumberedCanvas(width, 4);
    const std::vector<uint8_t> rows = CanvasToDib24(original);
    Canvas back(9, 9, Rgb{1, 2, 3});
    Dib24ToCanvas(rows.data(), width, 4, Dib24RowStride(width), back);
    EXPECT_EQ(back.Width(), width);
    EXPECT_EQ(back.Height(), 4);
    EXPECT_EQ(back.Bytes(), original.Bytes()) << width;
  }
}

TEST(Win32DibPixels, RegionGoesOutAndBackLeavingTheRestAlone) {
  const Canvas original = NumberedCanvas(7, 5);
  const PixelRect region{2, 1, 5, 4};
  std::vector<uint8_t> rows(static_cast<size_t>(region.Width() * region.Height()) * 4, 0xEE);
  CanvasRegionToDib32(original, region, rows.data());
  // Blue, green, red, then a zero byte, for the region's pixels in order.
  EXPECT_EQ(rows[0], original.Pixel(2, 1).b);
  EXPECT_EQ(rows[1], original.Pixel(2, 1).g);
  EXPECT_EQ(rows[2], original.Pixel(2, 1).r);
  EXPECT_EQ(rows[3], 0);
  const size_t last = rows.size() - 4;
  EXPECT_EQ(rows[last + 2], original.Pixel(4, 3).r);

  // What GDI would have drawn: the region's pixels made white.
  for (size_t i = 0; i < rows.size(); i += 4) rows[i] = rows[i + 1] = rows[i + 2] = 255;
  Canvas drawn = original;
  Dib32ToCanvasRegion(rows.data(), region, drawn);
  for (int32_t y = 0; y < 5; ++y) {
    for (int32_t x = 0; x < 7; ++x) {
      const bool inside = x >= 2 && x < 5 && y >= 1 && y < 4;
      const Rgb expected = inside ? Rgb{255, 255, 255} : original.Pixel(x, y);
      EXPECT_EQ(drawn.Pixel(x, y), expected) << x << "," << y;
    }
  }
}

TEST(Win32DibPixels, IconImagesAverageTheAreaEachPixelCoversAndAreOpaque) {
  // A 4 x 2 canvas into 2 x 2: each icon pixel averages two canvas pixels (rounded); a 1 x 1
  // canvas into 2 x 2: every icon pixel is that one.
  Canvas canvas(4, 2, {0, 0, 0});
  canvas.SetPixel(0, 0, {255, 10, 3});
  canvas.SetPixel(3, 1, {100, 200, 50});
  const std::vector<uint8_t> icon = CanvasToIconBgra(canvas, 2);
  const std::vector<uint8_t> expected{2, 5, 128, 255, 0, 0, 0, 255, 0, 0, 0, 255, 25, 100, 50, 255};
  EXPECT_EQ(icon, expected);
  const std::vector<uint8_t> grown = CanvasToIconBgra(Canvas(1, 1, {9, 8, 7}), 2);
  EXPECT_EQ(grown, (std::vector<uint8_t>{7, 8, 9, 255, 7, 8, 9, 255, 7, 8, 9, 255, 7, 8, 9, 255}));
}

}  // namespace
}  // namespace vellora::shell
