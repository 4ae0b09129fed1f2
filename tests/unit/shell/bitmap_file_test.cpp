// The shell's saved snapshot read back by the renderer's own reader: the two programs agree
// on the format at every width, padded or not.
#include "runtime/bitmap_file.h"

#include <gtest/gtest.h>

#include "bmp_reader.h"
#include "fake_file_system.h"

namespace vellora::shell {
namespace {

Canvas Pattern(int32_t width, int32_t height) {
  Canvas c(width, height);
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x)
      c.SetPixel(x, y, {static_cast<uint8_t>(x * 7), static_cast<uint8_t>(y * 11), static_cast<uint8_t>(x ^ y)});
  return c;
}

TEST(BitmapFile, TheRendererReadsWhatTheShellSavesAtAnyWidth) {
  for (int32_t width : {1, 2, 3, 4, 5, 1366}) {
    const Canvas picture = Pattern(width, 3);
    const std::string bytes = EncodeBitmap24(picture);
    renderer::MemoryByteReader reader(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    const renderer::DecodedBitmap decoded = renderer::DecodeBitmap(reader);
    ASSERT_EQ(decoded.status, renderer::BitmapStatus::Ok) << width;
    const auto& b = decoded.bitmap;
    ASSERT_EQ(b.width, static_cast<uint32_t>(width));
    // The renderer's rows run bottom to top; the canvas's top to bottom.
    for (int32_t y = 0; y < 3; ++y)
      for (int32_t x = 0; x < width; ++x) {
        const uint8_t* p = &b.pixels[(2 - y) * renderer::SnapshotBitmap::RowStride(b.width) + x * 3];
        const Rgb want = picture.Pixel(x, y);
        ASSERT_EQ((Rgb{p[0], p[1], p[2]}), want) << width << " at " << x << "," << y;
      }
  }
}

TEST(BitmapFile, AFailedSaveLeavesTheOldFileAndNoTemporaryFileAndASaveDoesNotWaitForTheDisk) {
  testing::FakeFileSystem files;
  files.files["C:\\V\\Vellora.bmp"] = "old";
  files.failWrites = true;
  EXPECT_FALSE(SaveBitmap24(files, Pattern(4, 4), "C:\\V\\Vellora.bmp"));
  EXPECT_EQ(files.files.at("C:\\V\\Vellora.bmp"), "old");
  EXPECT_EQ(files.files.size(), 1u);

  files.failWrites = false;
  EXPECT_TRUE(SaveBitmap24(files, Pattern(4, 4), "C:\\V\\Vellora.bmp"));
  EXPECT_EQ(files.files.at("C:\\V\\Vellora.bmp").size(), 54u + 48u);
  EXPECT_EQ(files.durability.at("C:\\V\\Vellora.bmp"), Durability::Unflushed);
}

}  // namespace
}  // namespace vellora::shell
