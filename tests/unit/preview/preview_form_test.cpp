#include "startup/preview_form.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "assets/embedded_assets.h"
#include "fake_forms_platform.h"
#include "runtime/picture_decoder.h"
#include "settings/settings_variables.h"

namespace vellora::shell {
namespace {

using testing::FakeFormsPlatform;
using testing::FakeWindow;
using testing::ProcessEnded;
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
  void SetUp() override {
    ApiResult = 0;
    platform.logWindowCalls = true;
  }

  // Sets up the preview in a host of the given size somewhere on the screen.
  void SetUpIn(int32_t width, int32_t height) {
    platform.foreignWindows[kHost] = {40, 30, 40 + width, 30 + height};
    form = SetUpPreview(application, static_cast<int32_t>(kHost));
  }
  FakeWindow& FormWindow() const {
    EXPECT_EQ(platform.windows.size(), 1u);
    return *platform.windows.front();
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

  FakeFormsPlatform platform;
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
  EXPECT_THAT(platform.log, ElementsAre("WindowScreenRect 1234", "CreateWindow Preview Window", "AdoptInto 1234",
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

// The form takes the host's size in twips, at most 32767 (the largest 16-bit value); its window
// the pixels that gives, showing the still at its top-left corner, with black around it or
// clipped. A host with no area still gets its live form.
TEST_F(PreviewTest, HostSizesAndResolutions) {
  const struct {
    int32_t width, height;
    double twipsPerPixel;
    int32_t widthTwips, heightTwips, shownWidth;
  } cases[] = {
      {300, 200, 15, 4500, 3000, 300},      // larger than the still
      {100, 80, 15, 1500, 1200, 100},       // smaller
      {300, 200, 12, 3600, 2400, 300},      // 120 dots per inch
      {3000, 200, 15, 32767, 3000, 2184},   // 45,000 twips do not fit 16 bits: 32,767 are 2,184 pixels
      {3000, 2500, 10, 30000, 25000, 3000}, // at 144 dots per inch they do
      {0, 0, 15, 0, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height) + " at " + std::to_string(c.twipsPerPixel));
    form.reset();
    platform.log.clear();
    platform.twipsPerPixel = c.twipsPerPixel;
    SetUpIn(c.width, c.height);
    EXPECT_EQ(form->WidthTwips(), c.widthTwips);
    EXPECT_EQ(form->HeightTwips(), c.heightTwips);
    EXPECT_EQ(platform.log.at(3), "Move 0,0 " + std::to_string(c.shownWidth) + "x" + std::to_string(c.height));
    EXPECT_EQ(form->ImgPrev().PixelBounds().Width(), c.shownWidth);
    EXPECT_EQ(form->ImgPrev().PixelBounds().Height(), c.height);
    EXPECT_EQ(FormWindow().foreignParent, kHost);
    EXPECT_TRUE(FormWindow().visible);
    ExpectStillAtTopLeft(c.shownWidth, c.height);
    EXPECT_EQ(application.LoadedForms(), 1u);
  }
}

TEST_F(PreviewTest, FailedReparentingEndsTheProcessBeforeAnythingIsShown) {
  // Shown anyway, the form would be a stray top-level window at 0,0 in a process that never ends.
  platform.refuseAdoption = true;
  EXPECT_THROW(SetUpIn(152, 112), ProcessEnded);
  EXPECT_THAT(platform.log, ElementsAre("WindowScreenRect 1234", "CreateWindow Preview Window", "AdoptInto refused",
                                    "EndProcess"));
  EXPECT_EQ(ApiResult, 0);
}

}  // namespace
}  // namespace vellora::shell
