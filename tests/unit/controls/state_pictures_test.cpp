#include "controls/state_pictures.h"

#include <gtest/gtest.h>

#include "state_picture_table.h"

namespace vellora::shell {
namespace {

using testing::EdgeRowsAt;
using testing::Hex;
using testing::kEdgeTable;

StatePicture ByName(const std::string& name) {
  for (StatePicture p : {StatePicture::HighLight, StatePicture::Pressed, StatePicture::Normal, StatePicture::Disable,
                         StatePicture::HighLightSelect, StatePicture::Selected})
    if (name + ".png" == StatePictureFile(p)) return p;
  ADD_FAILURE() << "no picture " << name;
  return StatePicture::Normal;
}

TEST(StatePictures, EachIs64By25WithTheTableColoursAcrossItsTopAndBottomBands) {
  for (const auto& entry : kEdgeTable) {
    SCOPED_TRACE(entry.picture);
    const Canvas& picture = StatePictureCanvas(ByName(entry.picture));
    ASSERT_EQ(picture.Width(), 64);
    ASSERT_EQ(picture.Height(), 25);
    // The top and bottom edges are stretched from picture columns 4 to 59: all of them carry
    // the rows' colours, not only the middle.
    for (int32_t x : {4, 31, 32, 59}) {
      const auto rows = EdgeRowsAt(picture, x);
      for (size_t i = 0; i < rows.size(); ++i) EXPECT_EQ(rows[i], Hex(entry.colours[i])) << "x " << x << " row " << i;
    }
  }
}

TEST(StatePictures, SideBandsMirrorTheFrameAndRingsOfTheirState) {
  // Middle of the sides (row 12): surround, frame, then the ring or the inside.
  const auto sides = [](StatePicture p, int32_t x) { return StatePictureCanvas(p).Pixel(x, 12); };
  for (StatePicture p : {StatePicture::Normal, StatePicture::HighLight, StatePicture::Selected}) {
    EXPECT_EQ(sides(p, 1), Hex(0x003C74));
    EXPECT_EQ(sides(p, 62), Hex(0x003C74));
  }
  for (int32_t x : {2, 3, 60, 61}) {
    EXPECT_EQ(sides(StatePicture::HighLight, x), Hex(0xFCCA69)) << x;
    EXPECT_EQ(sides(StatePicture::Selected, x), Hex(0xA9C5EF)) << x;
  }
  EXPECT_EQ(sides(StatePicture::Pressed, 2), Hex(0x003C74));
  EXPECT_EQ(sides(StatePicture::Pressed, 61), Hex(0x003C74));
  EXPECT_EQ(sides(StatePicture::Pressed, 0), Hex(0xECE9D8));
  EXPECT_EQ(sides(StatePicture::Disable, 1), Hex(0xC9C7BA));
  EXPECT_EQ(sides(StatePicture::Disable, 62), Hex(0xC9C7BA));
}

TEST(StatePictures, FrameCornersAreRoundedByBlending) {
  const Canvas& normal = StatePictureCanvas(StatePicture::Normal);
  const Rgb corner = normal.Pixel(1, 1);
  EXPECT_NE(corner, Hex(0x003C74));
  EXPECT_NE(corner, normal.Pixel(0, 1));
  EXPECT_EQ(normal.Pixel(2, 1), Hex(0x003C74));
}

TEST(StatePictures, HighLightSelectIsTheHighLightPicture) {
  EXPECT_EQ(StatePictureCanvas(StatePicture::HighLightSelect).Bytes(), StatePictureCanvas(StatePicture::HighLight).Bytes());
  EXPECT_NE(StatePictureCanvas(StatePicture::Selected).Bytes(), StatePictureCanvas(StatePicture::HighLight).Bytes());
}

}  // namespace
}  // namespace vellora::shell
