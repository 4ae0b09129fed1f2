#include "startup/zoom_helpers.h"

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

TEST_F(ZoomTest, OpenRunsFromTheCursorPointOutToTheWindow) {
  ZoomOpen(platform, 77);
  EXPECT_THAT(platform.log, ElementsAre("Zoom 500,300-500,300 to 100,100-400,300"));
  EXPECT_EQ(ApiResult, 1);
}

TEST_F(ZoomTest, CloseRunsFromTheWindowBackToTheCursorPoint) {
  ZoomClose(platform, 77);
  EXPECT_THAT(platform.log, ElementsAre("Zoom 100,100-400,300 to 500,300-500,300"));
  EXPECT_EQ(ApiResult, 1);
}

TEST_F(ZoomTest, ThePointIsReadAtTheMomentOfTheCall) {
  ZoomOpen(platform, 77);
  CursorStartX = -20;  // a monitor left of the primary one
  CursorStartY = 5;
  ZoomClose(platform, 77);
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
