#include "startup/preview_form.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "assets/embedded_assets.h"
#include "recording_forms_platform.h"
#include "runtime/picture_decoder.h"
#include "settings/settings_variables.h"

namespace vellora::shell {
namespace {

using testing::FakeFormsPlatform;
using testing::FakeWindow;
using testing::ProcessEnded;
using testing::RecordingFormsPlatform;
using ::testing::ElementsAre;

constexpr NativeWindow kHost = 1234;
constexpr Rgb kBlack{0, 0, 0};

Canvas EmbeddedStill() {
  Canvas still;
  EXPECT_TRUE(DecodePicture(EmbeddedFileBytes(kPreviewStillFile), still));
  return still;
}

class PreviewTest : public ::testing::Test {
 protected:
  void SetUp() override { ApiResult = 0; }

  // Sets up the preview in a host of the given size somewhere on the screen.
  void SetUpIn(int32_t width, int32_t height) {
    fake.foreignWindows[kHost] = {40, 30, 40 + width, 30 + height};
    form = SetUpPreview(application, static_cast<int32_t>(kHost));
  }
  FakeWindow& FormWindow() const {
    EXPECT_EQ(fake.windows.size(), 1u);
    return *fake.windows.front();
  }
  // The picture the form shows: the still's top-left part where the form reaches, black elsewhere.
  void ExpectStillAtTopLeft(int32_t width, int32_t height) const {
    const Canvas& shown = FormWindow().presented;
    ASSERT_EQ(shown.Width(), width);
    ASSERT_EQ(shown.Height(), height);
    int mismatches = 0;
    for (int32_t y = 0; y < height; ++y)
      for (int32_t x = 0; x < width; ++x) {
        const bool inStill = x < still.Width() && y < still.Height();
        if (shown.Pixel(x, y) != (inStill ? still.Pixel(x, y) : kBlack)) ++mismatches;
      }
    EXPECT_EQ(mismatches, 0);
  }

  FakeFormsPlatform fake;
  RecordingFormsPlatform platform{fake};
  FormsApplication application{platform};
  std::unique_ptr<PreviewForm> form;
  const Canvas still = EmbeddedStill();
};

TEST_F(PreviewTest, TheEmbeddedStillIsTheCommittedAssetAt152By112) {
  std::ifstream file(VELLORA_PREVIEW_STILL_PATH, std::ios::binary);
  const std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  EXPECT_EQ(EmbeddedFileBytes(kPreviewStillFile), bytes);
  EXPECT_EQ(still.Width(), 152);
  EXPECT_EQ(still.Height(), 112);
}

TEST_F(PreviewTest, UsualPreviewMonitorIsFilledExactlyAfterTheStepsInOrder) {
  SetUpIn(152, 112);
  EXPECT_THAT(fake.log, ElementsAre("WindowScreenRect 1234", "CreateWindow Preview Window", "AdoptInto 1234",
                                      "Move 0,0 152x112", "Show"));
  const FakeWindow& window = FormWindow();
  EXPECT_EQ(window.title, "Preview Window");
  EXPECT_EQ(window.foreignParent, kHost);
  EXPECT_EQ(window.position.x, 0);
  EXPECT_EQ(window.position.y, 0);
  EXPECT_TRUE(window.visible);
  EXPECT_EQ(form->WidthTwips(), 152 * 15);
  EXPECT_EQ(form->HeightTwips(), 112 * 15);
  EXPECT_EQ(form->BackColour(), kBlack);
  EXPECT_EQ(form->ImgPrev().Name(), "Img_Prev");
  EXPECT_EQ(form->ImgPrev().PixelBounds().Width(), 152);
  EXPECT_EQ(form->ImgPrev().PixelBounds().Height(), 112);
  ExpectStillAtTopLeft(152, 112);
  EXPECT_EQ(ApiResult, 1);  // the re-parenting's result
  EXPECT_EQ(application.LoadedForms(), 1u);
}

TEST_F(PreviewTest, LargerHostShowsTheStillUnscaledWithBlackAroundIt) {
  SetUpIn(300, 200);
  EXPECT_EQ(fake.log.at(3), "Move 0,0 300x200");
  EXPECT_EQ(form->ImgPrev().PixelBounds().Width(), 300);
  EXPECT_EQ(form->ImgPrev().PixelBounds().Height(), 200);
  ExpectStillAtTopLeft(300, 200);
}

TEST_F(PreviewTest, SmallerHostClipsTheStillAtTheRightAndBottom) {
  SetUpIn(100, 80);
  EXPECT_EQ(fake.log.at(3), "Move 0,0 100x80");
  ExpectStillAtTopLeft(100, 80);
}

TEST_F(PreviewTest, SizesFollowTheDisplaysTwipsPerPixel) {
  fake.twipsPerPixel = 12;  // 120 dots per inch
  SetUpIn(300, 200);
  EXPECT_EQ(form->WidthTwips(), 3600);
  EXPECT_EQ(form->HeightTwips(), 2400);
  EXPECT_EQ(fake.log.at(3), "Move 0,0 300x200");
  ExpectStillAtTopLeft(300, 200);
}

TEST_F(PreviewTest, HostTooLargeForSixteenBitTwipsGetsTheLargestSizeThatFits) {
  // 3000 pixels are 45,000 twips at 15 twips per pixel; 32,767 twips are 2,184 pixels.
  SetUpIn(3000, 200);
  EXPECT_EQ(form->WidthTwips(), 32767);
  EXPECT_EQ(form->HeightTwips(), 3000);
  EXPECT_EQ(fake.log.at(3), "Move 0,0 2184x200");
  ExpectStillAtTopLeft(2184, 200);
}

TEST_F(PreviewTest, AtHigherResolutionTheSameHostFitsSixteenBits) {
  fake.twipsPerPixel = 10;  // 144 dots per inch: 3000 pixels are 30,000 twips
  SetUpIn(3000, 2500);
  EXPECT_EQ(form->WidthTwips(), 30000);
  EXPECT_EQ(form->HeightTwips(), 25000);
  EXPECT_EQ(fake.log.at(3), "Move 0,0 3000x2500");
}

TEST_F(PreviewTest, HostWithNoAreaGivesAFormWithNoSizeThatStillLives) {
  SetUpIn(0, 0);
  EXPECT_EQ(fake.log.at(3), "Move 0,0 0x0");
  EXPECT_EQ(FormWindow().foreignParent, kHost);
  EXPECT_TRUE(FormWindow().visible);
  EXPECT_EQ(FormWindow().presented.Width(), 0);
  EXPECT_EQ(application.LoadedForms(), 1u);
}

TEST_F(PreviewTest, FailedReparentingEndsTheProcessBeforeAnythingIsShown) {
  // Shown anyway, the form would be a stray top-level window at 0,0 in a process that never ends.
  platform.refuseAdoption = true;
  EXPECT_THROW(SetUpIn(152, 112), ProcessEnded);
  EXPECT_THAT(fake.log, ElementsAre("WindowScreenRect 1234", "CreateWindow Preview Window", "AdoptInto refused",
                                    "EndProcess"));
  EXPECT_EQ(ApiResult, 0);
}

}  // namespace
}  // namespace vellora::shell
