// Feeds arbitrary bytes to the snapshot reader. The side limit keeps each input's allocation
// small enough for the fuzzer's memory limit; the code paths are the same at any limit.
#include <cstddef>
#include <cstdint>

#include "bmp_reader.h"

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
  }
  return 0;
}
