#include "platform/gtk/zoom_geometry.h"

#include <gtest/gtest.h>

namespace vellora::shell {
namespace {

void ExpectRect(PixelRect actual, PixelRect expected) {
  EXPECT_EQ(actual.left, expected.left);
  EXPECT_EQ(actual.top, expected.top);
  EXPECT_EQ(actual.right, expected.right);
  EXPECT_EQ(actual.bottom, expected.bottom);
}

TEST(GtkZoomGeometry, FramesRunFromThePointOutToTheWindow) {
  const PixelRect point{500, 300, 500, 300}, window{100, 100, 400, 300};
  ExpectRect(ZoomFrameRect(point, window, 0, 8), point);
  ExpectRect(ZoomFrameRect(point, window, 4, 8), {300, 200, 450, 300});
  ExpectRect(ZoomFrameRect(point, window, 8, 8), window);
  ExpectRect(ZoomFrameRect(window, point, 2, 8), {200, 150, 425, 300});
}

TEST(GtkZoomGeometry, OutOfRangeFramesStopAtTheEnds) {
  const PixelRect from{0, 0, 10, 10}, to{-50, -40, 100, 90};
  ExpectRect(ZoomFrameRect(from, to, -1, 8), from);
  ExpectRect(ZoomFrameRect(from, to, 9, 8), to);
  ExpectRect(ZoomFrameRect(from, to, 0, 0), to);
}

TEST(GtkZoomGeometry, OutlineIsFourBandsAroundAHole) {
  const auto bands = OutlineBands({100, 50, 130, 70}, 2);  // 30 x 20
  ASSERT_EQ(bands.size(), 4u);
  ExpectRect(bands[0], {0, 0, 30, 2});
  ExpectRect(bands[1], {0, 18, 30, 20});
  ExpectRect(bands[2], {0, 2, 2, 18});
  ExpectRect(bands[3], {28, 2, 30, 18});
}

TEST(GtkZoomGeometry, SmallAndEmptyRectanglesAreOneSolidBand) {
  auto bands = OutlineBands({0, 0, 4, 30}, 2);  // no room for a hole
  ASSERT_EQ(bands.size(), 1u);
  ExpectRect(bands[0], {0, 0, 4, 30});
  bands = OutlineBands({500, 300, 500, 300}, 2);  // the cursor point: still one pixel
  ASSERT_EQ(bands.size(), 1u);
  ExpectRect(bands[0], {0, 0, 1, 1});
}

}  // namespace
}  // namespace vellora::shell
