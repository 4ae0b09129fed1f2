#include "tunnel_path.h"

#include <gtest/gtest.h>

#include <climits>

#include "frame_clock.h"

namespace vellora::renderer {
namespace {

TEST(TunnelPath, SegmentOffsetTruncatesBothDivisionsTowardZero) {
  const std::pair<int32_t, int32_t> cases[] = {
      {0, 0},     {399, 0},   {400, 0},   {1999, 0},  {2000, 1},   {3599, 1},     {3600, 2},
      {-1, 0},    {-400, 0},  {-1199, 0}, {-1200, -1}, {-2800, -2}, {INT_MIN, -1342177}, {INT_MAX, 1342177},
  };
  for (const auto& [t, k] : cases) EXPECT_EQ(SegmentOffset(t), k) << "t=" << t;
}

TEST(TunnelPath, CameraKeepsAheadOfTheFirstEndWallFromT400On) {
  for (int32_t t = 400; t < 20000; t += 7) {
    const float firstEndWall = 4.0f * SegmentOffset(t) + 6.0f;
    const float gap = firstEndWall - CameraTravel(t);
    ASSERT_GT(gap, 1.0f - 1e-4f) << t;
    ASSERT_LE(gap, 5.0f + 1e-4f) << t;
  }
  EXPECT_FLOAT_EQ(CameraRollDegrees(700), 10.0f);
  EXPECT_FLOAT_EQ(CameraTravel(1000), 2.5f);
}

TEST(FrameClock, AdvanceAndMouseTest) {
  EXPECT_EQ(AdvanceAnimClock(0, 33), 16);
  EXPECT_EQ(AdvanceAnimClock(16, 16), 16);
  EXPECT_EQ(AdvanceAnimClock(-5, 0), -2);  // truncation toward zero
  EXPECT_EQ(AdvanceAnimClock(INT_MAX, 0xFFFFFFFFu), static_cast<int32_t>(0xBFFFFFFFu));

  EXPECT_FALSE(MouseMovedFarEnough({0, 0}, {30, 30}));
  EXPECT_FALSE(MouseMovedFarEnough({0, 0}, {31, 0}));
  EXPECT_FALSE(MouseMovedFarEnough({0, 0}, {31, 30}));
  EXPECT_FALSE(MouseMovedFarEnough({0, 0}, {-30, -31}));
  EXPECT_TRUE(MouseMovedFarEnough({0, 0}, {-31, 31}));
  EXPECT_TRUE(MouseMovedFarEnough({INT_MIN, INT_MIN}, {INT_MAX, INT_MAX}));  // no overflow
}

}  // namespace
}  // namespace vellora::renderer
