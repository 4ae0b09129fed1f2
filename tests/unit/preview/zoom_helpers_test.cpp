#include "cursor_point/zoom_helpers.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "fake_forms_platform.h"
#include "settings/settings_variables.h"

namespace vellora::shell {
namespace {

using testing::FakeFormsPlatform;
using ::testing::ElementsAre;

class ZoomTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CursorStartX = 500;
    CursorStartY = 300;
    ApiResult = 0;
    platform.foreignWindows[77] = {100, 100, 400, 300};
  }
  FakeFormsPlatform platform;
};

// Open runs from the cursor point out to the window, close from the window back to the point
// as it stands at the moment of the call.
TEST_F(ZoomTest, OpenAndCloseRunBetweenTheCursorPointAndTheWindow) {
  ZoomOpen(platform, 77);
  EXPECT_EQ(ApiResult, 1);
  CursorStartX = -20;  // a monitor left of the primary one
  CursorStartY = 5;
  ApiResult = 0;
  ZoomClose(platform, 77);
  EXPECT_EQ(ApiResult, 1);
  EXPECT_THAT(platform.log, ElementsAre("Zoom 500,300-500,300 to 100,100-400,300",
                                        "Zoom 100,100-400,300 to -20,5--20,5"));
}

TEST_F(ZoomTest, AWindowThePlatformCannotMeasureZoomsToAndFromNothing) {
  platform.foreignWindows.erase(77);
  ApiResult = 9;
  ZoomOpen(platform, 77);
  EXPECT_EQ(ApiResult, 0);
  ZoomClose(platform, 77);
  EXPECT_THAT(platform.log, ElementsAre("Zoom 500,300-500,300 to 0,0-0,0", "Zoom 0,0-0,0 to 500,300-500,300"));
}

}  // namespace
}  // namespace vellora::shell
