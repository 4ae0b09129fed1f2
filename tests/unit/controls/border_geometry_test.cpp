#include "controls/border_geometry.h"

#include <gtest/gtest.h>

namespace vellora::shell {
namespace {

TEST(SixteenBitSums, StayWithinTheSignedRangeOrFail) {
  EXPECT_EQ(Add16(32707, 60), std::optional<int16_t>(32767));
  EXPECT_FALSE(Add16(32708, 60).has_value());
  EXPECT_EQ(Subtract16(-32648, 120), std::optional<int16_t>(-32768));
  EXPECT_FALSE(Subtract16(-32649, 120).has_value());
  EXPECT_EQ(Subtract16(1095.5, 120), std::optional<int16_t>(976));  // rounded, halves to even
}

TEST(BorderGeometry, A1095By375ButtonStretchesTheTopAndBottomEdgesOnly) {
  BorderGeometry g;
  g.Update(1095, 375);
  EXPECT_EQ(g.MiddleWidth(), 975);
  EXPECT_EQ(g.MiddleHeight(), 255);
  EXPECT_EQ(g.RightX(), 1035);
  EXPECT_EQ(g.BottomY(), 315);
  const auto p = g.Pieces();
  // Corners at their size, 1 twip in at the left and top.
  EXPECT_EQ(p[0].destination, (TwipsBox{1, 1, 60, 60}));
  EXPECT_EQ(p[0].source, (TwipsBox{0, 0, 60, 60}));
  EXPECT_EQ(p[2].destination, (TwipsBox{1035, 1, 60, 60}));
  EXPECT_EQ(p[2].source, (TwipsBox{900, 1, 60, 60}));
  EXPECT_EQ(p[4].destination, (TwipsBox{1035, 315, 60, 60}));
  EXPECT_EQ(p[4].source, (TwipsBox{900, 315, 60, 60}));
  EXPECT_EQ(p[6].destination, (TwipsBox{1, 315, 60, 60}));
  EXPECT_EQ(p[6].source, (TwipsBox{0, 315, 60, 60}));
  // Edges: 840 source twips (56 pixels) stretched to 975 (65 pixels); sides 255 to 255.
  EXPECT_EQ(p[1].destination, (TwipsBox{60, 1, 975, 60}));
  EXPECT_EQ(p[1].source, (TwipsBox{60, 1, 840, 60}));
  EXPECT_EQ(p[5].destination, (TwipsBox{60, 315, 975, 60}));
  EXPECT_EQ(p[5].source, (TwipsBox{60, 315, 840, 60}));
  EXPECT_EQ(p[3].destination, (TwipsBox{1035, 60, 60, 255}));
  EXPECT_EQ(p[3].source, (TwipsBox{900, 60, 60, 255}));
  EXPECT_EQ(p[7].destination, (TwipsBox{1, 60, 60, 255}));
  EXPECT_EQ(p[7].source, (TwipsBox{1, 60, 60, 255}));
}

TEST(BorderGeometry, A435By315ButtonShrinksItsSideEdges) {
  BorderGeometry g;
  g.Update(435, 315);
  const auto p = g.Pieces();
  EXPECT_EQ(p[3].destination, (TwipsBox{375, 60, 60, 195}));  // 17 pixels of picture into 13
  EXPECT_EQ(p[7].destination, (TwipsBox{1, 60, 60, 195}));
  EXPECT_EQ(p[1].destination, (TwipsBox{60, 1, 315, 60}));
  EXPECT_EQ(p[4].destination, (TwipsBox{375, 255, 60, 60}));
}

TEST(BorderGeometry, ALengthBeyondSixteenBitsKeepsThePreviousOne) {
  BorderGeometry g;
  g.Update(32887, 375);  // the widest that still fits: 32767
  EXPECT_EQ(g.MiddleWidth(), 32767);
  g.Update(1095, 375);
  g.Update(32888, 40000);
  EXPECT_EQ(g.MiddleWidth(), 975);
  EXPECT_EQ(g.MiddleHeight(), 255);
  EXPECT_EQ(g.RightX(), 1035);
  EXPECT_EQ(g.BottomY(), 315);
  g.Update(40000, 435);  // the height alone still changes
  EXPECT_EQ(g.MiddleWidth(), 975);
  EXPECT_EQ(g.MiddleHeight(), 315);
  EXPECT_EQ(g.BottomY(), 375);

  BorderGeometry fresh;
  fresh.Update(50000, 50000);
  EXPECT_EQ(fresh.MiddleWidth(), 0);
  EXPECT_EQ(fresh.RightX(), 60);
}

}  // namespace
}  // namespace vellora::shell
