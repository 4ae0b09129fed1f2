#include "controls/button_gradient.h"

#include <gtest/gtest.h>

namespace vellora::shell {
namespace {

TEST(VertexColours, EachPairOfDigitsIsTheHighByteOfItsChannel) {
  const auto white = VertexColourFromText(kGradientWhite);
  ASSERT_TRUE(white);
  EXPECT_EQ(white->red, 0xFF00);
  EXPECT_EQ(white->green, 0xFF00);
  EXPECT_EQ(white->blue, 0xFF00);
  EXPECT_EQ(white->alpha, 0);
  const auto lavender = VertexColourFromText(kGradientLavender);
  ASSERT_TRUE(lavender);
  EXPECT_EQ(lavender->red, 198 << 8);  // red first, as written
  EXPECT_EQ(lavender->green, 197 << 8);
  EXPECT_EQ(lavender->blue, 215 << 8);
  EXPECT_EQ(VertexColourFromText("&h0a0b0c1")->red, 0xA000);  // written back as "A0B0C1"
  EXPECT_FALSE(VertexColourFromText("C6C5D7"));
  EXPECT_FALSE(VertexColourFromText("&HFFF"));  // too few digits for three channels
  EXPECT_FALSE(VertexColourFromText("&HC6C5Z7"));
}

// The red channel carries the direction: white is 255, lavender 198.
TEST(FaceGradient, WhiteOnTopUnlessInvertedAndTheLastColumnAndRowStayAsCleared) {
  const Rgb cleared{1, 2, 3};
  for (bool inverted : {false, true}) {
    SCOPED_TRACE(inverted ? "inverted" : "white on top");
    Canvas face(73, 25, cleared);
    FillFaceGradient(face, inverted);
    const Rgb white{255, 255, 255}, lavender{198, 197, 215};
    EXPECT_EQ(face.Pixel(0, 0), inverted ? lavender : white);
    EXPECT_EQ(face.Pixel(71, 0), inverted ? lavender : white);
    // Row 23 is the last one filled: 23/24 of the way from one end to the other.
    const Rgb last = face.Pixel(0, 23);
    EXPECT_EQ(last, inverted ? (Rgb{252, 252, 253}) : (Rgb{200, 199, 216}));
    for (int32_t x = 0; x < 73; ++x) EXPECT_EQ(face.Pixel(x, 24), cleared) << x;
    for (int32_t y = 0; y < 25; ++y) EXPECT_EQ(face.Pixel(72, y), cleared) << y;
    // Every row is one colour, and the colour moves one way only.
    for (int32_t y = 1; y < 24; ++y) {
      EXPECT_EQ(face.Pixel(0, y), face.Pixel(40, y));
      const int step = face.Pixel(0, y).r - face.Pixel(0, y - 1).r;
      EXPECT_TRUE(inverted ? step >= 0 : step <= 0) << y;
    }
  }
}

}  // namespace
}  // namespace vellora::shell
