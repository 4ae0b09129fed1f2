// The text renderer draws with Pango into canvases; it needs fonts but no display.
#include "platform/gtk/pango_text_renderer.h"

#include <gtest/gtest.h>

#include "platform/canvas.h"

namespace vellora::shell {
namespace {

const std::string kText = u8"音楽CDとMP3、WAV";
constexpr Rgb kWhite{255, 255, 255};

// Pixels inside (or outside) the area that differ from before by more than `tolerance` in a channel.
int CountChanged(const Canvas& canvas, const Canvas& before, PixelRect area, bool inside, int tolerance = 0) {
  const auto differs = [tolerance](uint8_t a, uint8_t b) { return a - b > tolerance || b - a > tolerance; };
  int changed = 0;
  for (int32_t y = 0; y < canvas.Height(); ++y) {
    for (int32_t x = 0; x < canvas.Width(); ++x) {
      const bool in = x >= area.left && x < area.right && y >= area.top && y < area.bottom;
      const Rgb now = canvas.Pixel(x, y), then = before.Pixel(x, y);
      if (in == inside && (differs(now.r, then.r) || differs(now.g, then.g) || differs(now.b, then.b))) ++changed;
    }
  }
  return changed;
}

TEST(GtkPangoTextRenderer, TextStaysInsideItsMeasuredBox) {
  PangoTextRenderer text(96);
  const FontSpec font;
  const PixelSize size = text.Measure(kText, font);
  EXPECT_GE(size.height, 13);
  EXPECT_LE(size.height, 18);
  EXPECT_GT(size.width, 8 * 6);
  Canvas canvas(200, 40, kWhite);
  const Canvas before = canvas;
  text.Draw(canvas, 20, 10, kText, font, {0, 0, 0});
  const PixelRect box{20, 10, 20 + size.width, 10 + size.height};
  EXPECT_GT(CountChanged(canvas, before, box, true), 100);
  // At most the faint anti-aliased edge of an overhanging glyph reaches past the box.
  EXPECT_EQ(CountChanged(canvas, before, box, false, 48), 0);
}

TEST(GtkPangoTextRenderer, BackgroundShowsBetweenTheGlyphs) {
  PangoTextRenderer text(96);
  Canvas canvas(200, 40);
  canvas.FillVerticalGradient({0, 0, 200, 40}, {0, 0, 128}, {230, 230, 250});
  const Canvas before = canvas;
  text.Draw(canvas, 4, 4, "i i", FontSpec{}, {255, 0, 0});
  const PixelSize size = text.Measure("i i", FontSpec{});
  // Far more of the box keeps the gradient than takes the text: no background was filled.
  const int changed = CountChanged(canvas, before, {4, 4, 4 + size.width, 4 + size.height}, true);
  EXPECT_GT(changed, 0);
  EXPECT_LT(changed, size.width * size.height / 3);
}

TEST(GtkPangoTextRenderer, GlyphsTakeTheColour) {
  PangoTextRenderer text(96);
  Canvas canvas(200, 40, kWhite);
  text.Draw(canvas, 0, 0, "MMMM", FontSpec{}, {200, 0, 0});
  int solid = 0, strong = 0;
  for (int32_t y = 0; y < 40; ++y)
    for (int32_t x = 0; x < 200; ++x) {
      const Rgb p = canvas.Pixel(x, y);
      ASSERT_EQ(p.g, p.b) << "grey anti-aliasing towards red only";
      ASSERT_GE(p.r, 200) << x << "," << y;
      solid += p == Rgb{200, 0, 0};
      strong += p.g < 64;
    }
  EXPECT_GT(solid, 0);
  EXPECT_GT(strong, 20);
}

TEST(GtkPangoTextRenderer, TheWindowsGothicIsProportional) {
  PangoTextRenderer text(96);
  EXPECT_LT(text.Measure("iiiiiiii", FontSpec{}).width * 2, text.Measure("MMMMMMMM", FontSpec{}).width);
  FontSpec mapped, native;
  native.face = "IPAPGothic";
  EXPECT_EQ(text.Measure(kText, mapped).width, text.Measure(kText, native).width);
}

TEST(GtkPangoTextRenderer, PointsScaleWithTheResolution) {
  PangoTextRenderer normal(96), large(192);
  const PixelSize a = normal.Measure(kText, FontSpec{}), b = large.Measure(kText, FontSpec{});
  EXPECT_NEAR(b.width, 2 * a.width, a.width / 10);
  EXPECT_NEAR(b.height, 2 * a.height, 3);
  FontSpec bigger;
  bigger.points = 19.5;
  EXPECT_NEAR(normal.Measure(kText, bigger).width, b.width, a.width / 10);
}

TEST(GtkPangoTextRenderer, UnderlineAddsALineBelowTheText) {
  PangoTextRenderer text(96);
  FontSpec plain, underlined;
  underlined.underline = true;
  Canvas a(120, 30, kWhite), b(120, 30, kWhite);
  text.Draw(a, 0, 0, "acemnor", plain, {0, 0, 0});
  text.Draw(b, 0, 0, "acemnor", underlined, {0, 0, 0});
  // Letters without descenders: below the baseline only the underline can be dark.
  const int32_t width = text.Measure("acemnor", plain).width;
  int darkRows = 0;
  for (int32_t y = 0; y < 30; ++y) {
    int inA = 0, inB = 0;
    for (int32_t x = 0; x < width; ++x) inA += a.Pixel(x, y).r < 230, inB += b.Pixel(x, y).r < 230;
    if (inB > width * 3 / 4 && inA < width / 4) ++darkRows;
  }
  EXPECT_GE(darkRows, 1);
}

TEST(GtkPangoTextRenderer, TextPartlyOutsideTheCanvasIsClipped) {
  PangoTextRenderer text(96);
  Canvas canvas(30, 8, kWhite);
  const Canvas before = canvas;
  text.Draw(canvas, -10, -6, kText, FontSpec{}, {0, 0, 0});
  EXPECT_GT(CountChanged(canvas, before, {0, 0, 30, 8}, true), 0);
  Canvas empty;
  text.Draw(empty, 0, 0, kText, FontSpec{}, {0, 0, 0});  // nothing to draw on: no effect
  text.Draw(canvas, 100, 100, kText, FontSpec{}, {0, 0, 0});
  EXPECT_EQ(canvas.Width(), 30);
}

}  // namespace
}  // namespace vellora::shell
