#include "runtime/picture_decoder.h"

#include <gtest/gtest.h>

#include "assets/embedded_assets.h"

namespace vellora::shell {

// This test's own embedded data (see the CATALOG in its CMakeLists.txt).
std::string_view TestDataBytes(std::string_view name);

namespace {

TEST(EmbeddedPictures, AnEmbeddedPngDecodesToItsPixels) {
  const std::string_view bytes = TestDataBytes("two_by_one.png");
  ASSERT_FALSE(bytes.empty());
  EXPECT_TRUE(TestDataBytes("missing.png").empty());
  EXPECT_FALSE(EmbeddedFileBytes("preview_still.png").empty());  // the shell's own assets
  Canvas picture;
  ASSERT_TRUE(DecodePicture(bytes, picture));
  ASSERT_EQ(picture.Width(), 2);
  ASSERT_EQ(picture.Height(), 1);
  EXPECT_EQ(picture.Pixel(0, 0), (Rgb{0x10, 0x20, 0x30}));
  EXPECT_EQ(picture.Pixel(1, 0), (Rgb{0xF0, 0xE0, 0xD0}));

  Canvas untouched(3, 3);
  EXPECT_FALSE(DecodePicture(bytes.substr(0, 20), untouched));  // cut short
  EXPECT_FALSE(DecodePicture("", untouched));
  EXPECT_EQ(untouched.Width(), 3);
}

}  // namespace
}  // namespace vellora::shell
