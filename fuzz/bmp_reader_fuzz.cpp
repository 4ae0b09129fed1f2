// Feeds arbitrary bytes to the snapshot reader, and scales what it reads to the texture sizes:
// GLU's power-of-two sides, and those halved once and twice as a driver with a smaller largest
// texture answers. The side limit keeps each input's allocation small enough for the fuzzer's
// memory limit; the code paths are the same at any limit.
#include <cstddef>
#include <cstdint>

#include "bmp_reader.h"
#include "texture_scale.h"

volatile uint8_t g_sink;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vellora::renderer;
  MemoryByteReader reader(data, size);
  const DecodedBitmap decoded = DecodeBitmap(reader, 512);
  if (decoded.status == BitmapStatus::Ok || decoded.status == BitmapStatus::DataShort) {
    const SnapshotBitmap& b = decoded.bitmap;
    // What the texture upload reads: rows padded to 4 bytes.
    if (b.pixels.size() != SnapshotBitmap::RowStride(b.width) * b.height) __builtin_trap();
    if (!b.pixels.empty()) g_sink = b.pixels.front() ^ b.pixels.back();
    for (uint32_t halvings = 0; halvings <= 2; ++halvings) {
      const uint32_t width = GluPowerOfTwoSide(b.width) >> halvings, height = GluPowerOfTwoSide(b.height) >> halvings;
      if (width == 0 || height == 0) break;
      const std::vector<uint8_t> texels = ScaleRgbLikeGlu(b.pixels.data(), b.width, b.height, width, height);
      if (texels.size() != SnapshotBitmap::RowStride(width) * height) __builtin_trap();
      g_sink = texels.back();
    }
  }
  return 0;
}
