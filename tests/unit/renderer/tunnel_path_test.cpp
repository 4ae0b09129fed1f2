#include "tunnel_path.h"

#include <gtest/gtest.h>

#include <climits>
#include <numeric>

#include "frame_clock.h"

namespace vellora::renderer {
namespace {

TEST(TunnelPath, SegmentOffsetTruncatesBothDivisionsTowardZero) {
  const std::pair<int64_t, int64_t> cases[] = {
      {0, 0},  {399, 0},    {400, 0},    {1999, 0},     {2000, 1},   {3599, 1},
      {3600, 2}, {-1, 0},   {-400, 0},   {-1199, 0},    {-1200, -1}, {5'184'000'000, 3'239'999},
  };
  for (const auto& [t, k] : cases) EXPECT_EQ(SegmentOffset(t), k) << "t=" << t;
}

TEST(TunnelPath, CameraKeepsAheadOfTheFirstEndWallFromT400On) {
  // The first copy's end wall stands at 6 among copies at 4, 8, ... 20. Clocks from the start and
  // from 60 days on.
  for (int64_t from : {int64_t{400}, int64_t{5'184'000'000}}) {
    for (int64_t t = from; t < from + 20000; t += 7) {
      const float gap = 6.0f - CameraTravelPastOffset(t);
      ASSERT_GT(gap, 1.0f - 1e-4f) << t;
      ASSERT_LE(gap, 5.0f + 1e-4f) << t;
    }
  }
  EXPECT_FLOAT_EQ(CameraRollDegrees(700), 10.0f);
  EXPECT_FLOAT_EQ(CameraTravelPastOffset(1000), 2.5f);
  // The roll is one turn at most; at t = 25200 it starts the next turn from 0 again.
  EXPECT_FLOAT_EQ(CameraRollDegrees(25199), 25199.0f / 70.0f);
  EXPECT_FLOAT_EQ(CameraRollDegrees(25200 + 700), 10.0f);
  // After a month the camera is where it was at the matching clock of the first minutes, to
  // the bit: the view repeats every 100.8 s, a whole number of turns and of segment lengths.
  const int64_t month = 2'592'000'000, sameView = month % std::lcm(kMsPerTurn, kMsPerSegment);
  for (int64_t t : {int64_t{0}, int64_t{1234}, int64_t{77777}}) {
    EXPECT_EQ(CameraRollDegrees(month + t), CameraRollDegrees(sameView + t)) << t;
    EXPECT_EQ(CameraTravelPastOffset(month + t), CameraTravelPastOffset(sameView + t)) << t;
  }
}

TEST(FrameClock, AdvanceAndMouseTest) {
  EXPECT_EQ(AdvanceAnimClock(0, 33), 16);
  EXPECT_EQ(AdvanceAnimClock(16, 16), 16);
  EXPECT_EQ(AdvanceAnimClock(-5, 0), -2);  // truncation toward zero
  // Past 2^31 and 2^32 ms the clock goes on counting; it never wraps negative.
  EXPECT_EQ(AdvanceAnimClock(int64_t{1} << 31, uint64_t{1} << 32), int64_t{3} << 30);

  EXPECT_FALSE(MouseMovedFarEnough({0, 0}, {30, 30}));
  EXPECT_FALSE(MouseMovedFarEnough({0, 0}, {31, 0}));
  EXPECT_FALSE(MouseMovedFarEnough({0, 0}, {31, 30}));
  EXPECT_FALSE(MouseMovedFarEnough({0, 0}, {-30, -31}));
  EXPECT_TRUE(MouseMovedFarEnough({0, 0}, {-31, 31}));
  EXPECT_TRUE(MouseMovedFarEnough({INT_MIN, INT_MIN}, {INT_MAX, INT_MAX}));  // no overflow
}

}  // namespace
}  // namespace vellora::renderer
