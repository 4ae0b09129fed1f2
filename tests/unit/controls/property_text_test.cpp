#include "controls/property_text.h"

#include <gtest/gtest.h>

#include "controls/ole_colour.h"

namespace vellora::shell {
namespace {

TEST(PropertyText, BooleansAreMinusOneAndZeroAndReadFromNumbersOrWords) {
  EXPECT_EQ(BooleanText(-1), "-1");
  EXPECT_EQ(BooleanText(1), "-1");
  EXPECT_EQ(BooleanText(0), "0");
  EXPECT_EQ(BooleanFromText("-1"), std::optional<int16_t>(-1));
  EXPECT_EQ(BooleanFromText("1"), std::optional<int16_t>(-1));
  EXPECT_EQ(BooleanFromText("0"), std::optional<int16_t>(0));
  EXPECT_EQ(BooleanFromText(" TRUE "), std::optional<int16_t>(-1));
  EXPECT_EQ(BooleanFromText("false"), std::optional<int16_t>(0));
  EXPECT_FALSE(BooleanFromText("yes"));
  EXPECT_FALSE(BooleanFromText(""));
}

TEST(PropertyText, IntegersFailOutsideTheirRange) {
  EXPECT_EQ(ByteFromText("255"), std::optional<uint8_t>(255));
  EXPECT_FALSE(ByteFromText("256"));
  EXPECT_FALSE(ByteFromText("-1"));
  EXPECT_EQ(ByteFromText("0.5"), std::optional<uint8_t>(0));  // halves to even
  EXPECT_EQ(Int16FromText("-32768"), std::optional<int16_t>(-32768));
  EXPECT_FALSE(Int16FromText("32768"));
  EXPECT_EQ(Int32FromText("-2147483630"), std::optional<int32_t>(-2147483630));
  EXPECT_FALSE(Int32FromText("2147483648"));
  EXPECT_FALSE(Int32FromText("12ab"));
}

TEST(PropertyText, FontsRoundTripWithAnyFace) {
  FontSpec font;
  font.face = "Odd;Face";
  font.points = 10.5;
  font.weight = 700;
  font.charset = 0;
  font.italic = true;
  EXPECT_EQ(FontText(font), "10.5;700;0;1;0;Odd;Face");
  const auto back = FontFromText(FontText(font));
  ASSERT_TRUE(back);
  EXPECT_EQ(back->face, "Odd;Face");
  EXPECT_EQ(back->points, 10.5);
  EXPECT_EQ(back->weight, 700);
  EXPECT_EQ(back->charset, 0);
  EXPECT_TRUE(back->italic);
  EXPECT_FALSE(back->underline);
  EXPECT_EQ(FontText(FontSpec{}), u8"9.75;400;128;0;0;ＭＳ Ｐゴシック");
  EXPECT_FALSE(FontFromText("9.75;400;128;0"));
  EXPECT_FALSE(FontFromText("big;400;128;0;0;Arial"));
  EXPECT_FALSE(FontFromText("0;400;128;0;0;Arial"));
  EXPECT_FALSE(FontFromText("9;400;300;0;0;Arial"));
}

TEST(ColourValues, OwnColoursAreBlueGreenRedAndSystemColoursComeFromTheScheme) {
  EXPECT_EQ(ColourValueToRgb(0x00332211), (Rgb{0x11, 0x22, 0x33}));
  EXPECT_EQ(RgbToColourValue({0x11, 0x22, 0x33}), 0x00332211u);
  EXPECT_EQ(ColourValueToRgb(0x80000012), (Rgb{0, 0, 0}));           // button text
  EXPECT_EQ(ColourValueToRgb(0x8000000F), (Rgb{0xEC, 0xE9, 0xD8}));  // button face
  EXPECT_EQ(ColourValueToRgb(0x8000001E), (Rgb{0xEC, 0xE9, 0xD8}));  // the last one, menu bar
  EXPECT_FALSE(ColourValueToRgb(0x8000001F));
  EXPECT_FALSE(ColourValueToRgb(0x01000000));
  EXPECT_FALSE(ColourValueToRgb(0xFFFFFFFF));
}

}  // namespace
}  // namespace vellora::shell
