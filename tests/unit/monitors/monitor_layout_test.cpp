#include "monitor_layout.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace vellora {
namespace {

using ::testing::ElementsAre;

MonitorRect M(int32_t left, int32_t top, int32_t width, int32_t height, bool primary = false) {
  return {left, top, width, height, primary};
}

struct OrderCase {
  const char* what;
  std::vector<MonitorRect> reported;
  std::vector<MonitorRect> ordered;  // the first is the primary
};

class OrderMonitorsTest : public ::testing::TestWithParam<OrderCase> {};

TEST_P(OrderMonitorsTest, PrimaryFirstThenLeftToRightTopToBottom) {
  const std::vector<MonitorRect> ordered = OrderMonitors(GetParam().reported);
  ASSERT_EQ(ordered.size(), GetParam().ordered.size());
  for (size_t i = 0; i < ordered.size(); ++i) {
    EXPECT_EQ(ordered[i], GetParam().ordered[i]) << i;
    EXPECT_EQ(ordered[i].primary, i == 0) << i;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, OrderMonitorsTest,
    ::testing::Values(
        OrderCase{"flagged primary in the middle, others left of and above it",
                  {M(1280, 0, 1920, 1080), M(0, 0, 1280, 1024, true), M(-1024, -300, 1024, 768), M(0, -1920, 1080, 1920)},
                  {M(0, 0, 1280, 1024), M(-1024, -300, 1024, 768), M(0, -1920, 1080, 1920), M(1280, 0, 1920, 1080)}},
        OrderCase{"no flag: the monitor at the origin",
                  {M(1280, 0, 800, 600), M(0, 0, 1280, 1024)},
                  {M(0, 0, 1280, 1024), M(1280, 0, 800, 600)}},
        OrderCase{"no flag and none at the origin: the first listed",
                  {M(640, 0, 640, 480), M(0, 10, 640, 480)},
                  {M(640, 0, 640, 480), M(0, 10, 640, 480)}},
        OrderCase{"a clone of the primary and empty rectangles are dropped; the clone's flag stays",
                  {M(0, 0, 1280, 1024), M(1280, 0, 0, 1024), M(0, 0, 1280, 1024, true), M(1280, 0, 640, 480)},
                  {M(0, 0, 1280, 1024), M(1280, 0, 640, 480)}},
        OrderCase{"a smaller clone inside a larger monitor is dropped; the larger takes the primary's place",
                  {M(1280, 0, 800, 600), M(0, 0, 800, 600, true), M(0, 0, 1280, 1024)},
                  {M(0, 0, 1280, 1024), M(1280, 0, 800, 600)}},
        OrderCase{"nothing usable", {M(0, 0, 0, 0)}, {}}),
    [](const auto& info) { return "case" + std::to_string(info.index); });

TEST(MonitorLayoutTest, BoundsAndSnapshotNames) {
  EXPECT_EQ(DesktopBounds({M(0, 0, 1280, 1024), M(-1024, -300, 1024, 768), M(1280, 100, 800, 600)}),
            M(-1024, -300, 3104, 1324));
  EXPECT_EQ(DesktopBounds({}), M(0, 0, 0, 0));
  EXPECT_THAT((std::vector<std::string>{MonitorSnapshotFileName(0), MonitorSnapshotFileName(1), MonitorSnapshotFileName(2)}),
              ElementsAre("Vellora.bmp", "Vellora_2.bmp", "Vellora_3.bmp"));
}

}  // namespace
}  // namespace vellora
