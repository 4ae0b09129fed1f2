// The compositor's shared-memory pixels into a canvas: channel order of each 32-bit format,
// padded rows, rows stored bottom up, and buffers that cannot be read.
#include "platform/wayland/shm_pixels.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/canvas.h"

namespace vellora::shell {
namespace {

// A 3x2 picture with a different colour in every pixel, as 32-bit words of the given format
// with 4 bytes of padding after each row.
constexpr uint32_t kStride = 16;
Rgb Colour(int x, int y) { return {static_cast<uint8_t>(10 + x), static_cast<uint8_t>(20 + y), static_cast<uint8_t>(30 + x * 2 + y)}; }

std::vector<uint8_t> Buffer(uint32_t format, bool bottomUp) {
  std::vector<uint8_t> bytes(kStride * 2, 0xEE);
  const bool redFirst = format == kShmAbgr8888 || format == kShmXbgr8888;
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 3; ++x) {
      const Rgb c = Colour(x, y);
      uint8_t* p = &bytes[kStride * (bottomUp ? 1 - y : y) + 4 * x];
      p[0] = redFirst ? c.r : c.b, p[1] = c.g, p[2] = redFirst ? c.b : c.r, p[3] = 0x77;
    }
  }
  return bytes;
}

TEST(WaylandShmPixels, EachFormatAndRowOrderGivesThePicture) {
  for (uint32_t format : {kShmArgb8888, kShmXrgb8888, kShmAbgr8888, kShmXbgr8888}) {
    for (bool yInverted : {false, true}) {
      const std::vector<uint8_t> bytes = Buffer(format, yInverted);
      Canvas canvas(1, 1);
      ASSERT_TRUE(CopyShmPixels(bytes.data(), bytes.size(), format, 3, 2, kStride, yInverted, canvas)) << format;
      ASSERT_EQ(canvas.Width(), 3);
      ASSERT_EQ(canvas.Height(), 2);
      for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) {
          const Rgb want = Colour(x, y), got = canvas.Pixel(x, y);
          EXPECT_EQ((std::vector<int>{got.r, got.g, got.b}), (std::vector<int>{want.r, want.g, want.b}))
              << "format " << format << " inverted " << yInverted << " at " << x << "," << y;
        }
    }
  }
}

TEST(WaylandShmPixels, UnreadableBuffersLeaveTheCanvasAlone) {
  const std::vector<uint8_t> bytes = Buffer(kShmXrgb8888, false);
  Canvas canvas(1, 1, Rgb{1, 2, 3});
  EXPECT_FALSE(ShmFormatSupported(0x36314752));  // RGB565
  EXPECT_FALSE(CopyShmPixels(bytes.data(), bytes.size(), 0x36314752, 3, 2, kStride, false, canvas));
  EXPECT_FALSE(CopyShmPixels(bytes.data(), bytes.size() - 1, kShmXrgb8888, 3, 2, kStride, false, canvas));
  EXPECT_FALSE(CopyShmPixels(bytes.data(), bytes.size(), kShmXrgb8888, 5, 2, kStride, false, canvas));
  EXPECT_FALSE(CopyShmPixels(bytes.data(), bytes.size(), kShmXrgb8888, 0, 2, kStride, false, canvas));
  EXPECT_EQ(canvas.Width(), 1);
  EXPECT_EQ(canvas.Pixel(0, 0).b, 3);
}

}  // namespace
}  // namespace vellora::shell
