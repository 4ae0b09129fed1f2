#include <gtest/gtest.h>

#include "command_host.h"

namespace vellora::shell {
namespace {

using testing::CommandHost;

// The pixel block of a canvas: x, y, width, height.
bool SameBlock(const Canvas& a, int32_t ax, int32_t ay, const Canvas& b, int32_t bx, int32_t by, int32_t w,
               int32_t h) {
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x)
      if (a.Pixel(ax + x, ay + y) != b.Pixel(bx + x, by + y)) return false;
  return true;
}

// Which rows of a shown column hold caption ink (neither face nor frame colours).
std::vector<int32_t> InkRows(const Canvas& c, int32_t x, Rgb ink) {
  std::vector<int32_t> rows;
  for (int32_t y = 0; y < c.Height(); ++y)
    if (c.Pixel(x, y) == ink) rows.push_back(y);
  return rows;
}

TEST(CommandPaint, A1095By375ButtonKeepsCornersAndSidesAtSizeAndStretchesTheTopAndBottom) {
  struct Case {
    StatePicture picture;
    std::function<void(CommandHost&)> show;
  };
  const std::vector<Case> cases = {
      {StatePicture::Normal, [](CommandHost&) {}},
      {StatePicture::HighLight, [](CommandHost& h) { h.button.Initialize(), h.Move(); }},
      {StatePicture::Selected, [](CommandHost& h) { h.Focus(true); }},
      {StatePicture::Pressed, [](CommandHost& h) { h.Down(); }},
      {StatePicture::Disable, [](CommandHost& h) { h.button.Enabled(0); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(StatePictureFile(c.picture));
    CommandHost host;
    host.Site({600, 300, 1095, 375});
    c.show(host);
    const Canvas& shown = host.Shown();
    const Canvas& picture = StatePictureCanvas(c.picture);
    ASSERT_EQ(shown.Width(), 73);
    ASSERT_EQ(shown.Height(), 25);
    EXPECT_TRUE(SameBlock(shown, 0, 0, picture, 0, 0, 4, 4));
    EXPECT_TRUE(SameBlock(shown, 69, 0, picture, 60, 0, 4, 4));
    EXPECT_TRUE(SameBlock(shown, 69, 21, picture, 60, 21, 4, 4));
    EXPECT_TRUE(SameBlock(shown, 0, 21, picture, 0, 21, 4, 4));
    EXPECT_TRUE(SameBlock(shown, 0, 4, picture, 0, 4, 4, 17));    // sides: 17 rows to 17
    EXPECT_TRUE(SameBlock(shown, 69, 4, picture, 60, 4, 4, 17));
    for (int32_t x = 4; x < 69; ++x) {                              // top and bottom: 56 columns to 65
      EXPECT_TRUE(SameBlock(shown, x, 0, picture, 31, 0, 1, 4)) << x;
      EXPECT_TRUE(SameBlock(shown, x, 21, picture, 31, 21, 1, 4)) << x;
    }
    // The picture's centre is never drawn: the gradient fills the inside.
    EXPECT_NE(shown.Pixel(6, 12), picture.Pixel(6, 12));
  }
}

TEST(CommandPaint, A435By315ButtonShrinksItsSidesAndRaisesItsCaption) {
  CommandHost host;
  host.button.Caption("...");
  host.Site({540, 1740, 435, 315});
  const Canvas& shown = host.Shown();
  const Canvas& normal = StatePictureCanvas(StatePicture::Normal);
  ASSERT_EQ(shown.Width(), 29);
  ASSERT_EQ(shown.Height(), 21);
  EXPECT_TRUE(SameBlock(shown, 25, 0, normal, 60, 0, 4, 4));
  EXPECT_TRUE(SameBlock(shown, 25, 17, normal, 60, 21, 4, 4));
  EXPECT_TRUE(SameBlock(shown, 0, 17, normal, 0, 21, 4, 4));
  // Side rows 4..16 come from picture rows 4..20: the first and last survive the shrink.
  EXPECT_TRUE(SameBlock(shown, 0, 4, normal, 0, 4, 4, 1));
  EXPECT_EQ(testing::LookAt(shown, 14), "Normal");
  // Caption top (315 - 195 - 20) / 2 = 50 twips: 3 pixels; the fake's ink starts 2 below.
  EXPECT_EQ(InkRows(shown, (29 - 21) / 2 + 1, {0, 0, 0}), (std::vector<int32_t>{5, 6, 7, 8, 9, 10, 11, 12, 13}));
}

TEST(CommandPaint, TheCaptionIsCentredAcrossTheWidthTenTwipsAboveTheMiddle) {
  CommandHost host;
  host.button.Caption(u8"設定");
  host.Site({4800, 3000, 1095, 375});
  const Canvas& shown = host.Shown();
  // Caption top (375 - 195 - 20) / 2 = 80 twips: 5 pixels. Two 7-pixel cells centred in 73.
  const int32_t left = (73 - 14) / 2;
  const std::vector<int32_t> rows{7, 8, 9, 10, 11, 12, 13, 14, 15};
  EXPECT_EQ(InkRows(shown, left + 1, {0, 0, 0}), rows);
  EXPECT_EQ(InkRows(shown, left + 12, {0, 0, 0}), rows);
  EXPECT_TRUE(InkRows(shown, left, {0, 0, 0}).empty());
  EXPECT_TRUE(InkRows(shown, left + 14, {0, 0, 0}).empty());
}

TEST(CommandPaint, ADisabledCaptionIsGreyedAndEmbossed) {
  CommandHost host;
  host.button.Caption("A");
  host.Site();
  host.button.Enabled(0);
  const int32_t left = (73 - 7) / 2;
  EXPECT_EQ(host.Shown().Pixel(left + 1, 7), (Rgb{0xAC, 0xA8, 0x99}));
  EXPECT_EQ(host.Shown().Pixel(left + 6, 16), (Rgb{0xFF, 0xFF, 0xFF}));  // the light copy shows below right
  host.button.Enabled(-1);
  EXPECT_EQ(host.Shown().Pixel(left + 1, 7), (Rgb{0, 0, 0}));
}

TEST(CommandPaint, TheFaceDirectionFollowsTheStateNotThePicture) {
  CommandHost host;
  host.Site();
  host.button.Initialize();
  host.Move();  // state 2
  EXPECT_FALSE(host.WhiteOnTop());
  // A resize repaints Normal, still lavender at the top in state 2.
  host.button.SetBounds({600, 300, 1200, 375});
  EXPECT_EQ(host.Shown().Width(), 80);
  EXPECT_EQ(host.Look(), "Normal");
  EXPECT_FALSE(host.WhiteOnTop());
  host.Focus(true);  // state 4 keeps the direction: Pressed with lavender at the top
  EXPECT_EQ(host.Look(), "Pressed");
  EXPECT_FALSE(host.WhiteOnTop());
  host.Focus(false);
  EXPECT_TRUE(host.WhiteOnTop());
  // The inside shows the face gradient: white on the top inner row, rows darkening downwards.
  const Canvas& shown = host.Shown();
  EXPECT_EQ(shown.Pixel(6, 4).r, (0xFF00 - (0xFF00 - 0xC600) * 4 / 24) >> 8);
  EXPECT_GT(shown.Pixel(6, 10).r, shown.Pixel(6, 11).r);
}

TEST(CommandPaint, AWidthBeyondSixteenBitsKeepsTheBorderOfThePaintBefore) {
  CommandHost host;
  host.Site({0, 0, 1095, 375});
  host.button.SetBounds({0, 0, 40000, 375});
  const Canvas& shown = host.Shown();
  ASSERT_EQ(shown.Width(), 2667);
  const Canvas& normal = StatePictureCanvas(StatePicture::Normal);
  EXPECT_TRUE(SameBlock(shown, 69, 0, normal, 60, 0, 4, 4));  // the right corner where it was
  EXPECT_EQ(shown.Pixel(2000, 0), (Rgb{255, 255, 255}));     // no frame out here: the face
  EXPECT_EQ(shown.Pixel(2666, 24), (Rgb{0xEC, 0xE9, 0xD8}));  // the cleared last column and row
  host.button.SetBounds({0, 0, 1200, 375});
  EXPECT_TRUE(SameBlock(host.Shown(), 76, 0, normal, 60, 0, 4, 4));
}

TEST(CommandPaint, ATransparentSurfaceShowsOnlyTheCaptionOverTheForm) {
  CommandHost host;
  host.button.Caption("A");
  host.Site();
  host.button.Visible(0);
  const Canvas& shown = host.Shown();
  const int32_t left = (73 - 7) / 2;
  EXPECT_EQ(shown.Pixel(36, 1), CommandHost::kFormColour);
  EXPECT_EQ(shown.Pixel(2, 2), CommandHost::kFormColour);
  EXPECT_EQ(shown.Pixel(left + 1, 7), (Rgb{0, 0, 0}));
  // Every paint step still runs on the surface itself.
  host.button.Initialize();
  host.Move();
  EXPECT_EQ(testing::LookAt(host.button.Surface(), 36), "HighLight");
  EXPECT_EQ(host.Shown().Pixel(36, 1), CommandHost::kFormColour);
  host.button.Visible(1);
  EXPECT_EQ(host.Look(), "Normal");
}

}  // namespace
}  // namespace vellora::shell
