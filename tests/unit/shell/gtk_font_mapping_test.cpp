#include "platform/gtk/font_mapping.h"

#include <gtest/gtest.h>

namespace vellora::shell {
namespace {

TEST(GtkFontMapping, JapaneseWindowsFacesMapToTheIpaFontsOfTheSameMetrics) {
  EXPECT_EQ(NativeFontFamily(u8"ＭＳ Ｐゴシック"), "IPAPGothic");
  EXPECT_EQ(NativeFontFamily("MS PGothic"), "IPAPGothic");
  EXPECT_EQ(NativeFontFamily(u8"ＭＳ ゴシック"), "IPAGothic");
  EXPECT_EQ(NativeFontFamily(u8"ＭＳ Ｐ明朝"), "IPAPMincho");
  EXPECT_EQ(NativeFontFamily(u8"ＭＳ 明朝"), "IPAMincho");
}

TEST(GtkFontMapping, OtherFacesAndNearMissesPassThroughUnchanged) {
  EXPECT_EQ(NativeFontFamily("Tahoma"), "Tahoma");
  EXPECT_EQ(NativeFontFamily(""), "");
  // Half-width letters and a missing blank are different names on Windows too.
  EXPECT_EQ(NativeFontFamily(u8"MS Pゴシック"), u8"MS Pゴシック");
  EXPECT_EQ(NativeFontFamily(u8"ＭＳＰゴシック"), u8"ＭＳＰゴシック");
}

TEST(GtkFontMapping, PointsBecomeWholePixelsAtTheDisplayResolution) {
  EXPECT_EQ(FontPixelHeight(9.75, 96), 13);   // the dialog's font: 13 pixels
  EXPECT_EQ(FontPixelHeight(9.75, 120), 16);  // 16.25
  EXPECT_EQ(FontPixelHeight(9.375, 96), 13);  // 12.5 rounds up
}

TEST(GtkFontMapping, DegenerateSizesStillGiveAVisiblePixel) {
  EXPECT_EQ(FontPixelHeight(0, 96), 1);
  EXPECT_EQ(FontPixelHeight(-9, 96), 1);
  EXPECT_EQ(FontPixelHeight(9, 0), 1);
  EXPECT_EQ(FontPixelHeight(0.2, 96), 1);
}

}  // namespace
}  // namespace vellora::shell
