// The snapshot bitmap format: uncompressed 24-bit Windows BMP files, read front to back.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "render_platform.h"

namespace vellora::renderer {

// A forward-only source of bytes (a file, or memory in tests and fuzzing).
class ByteReader {
 public:
  virtual ~ByteReader() = default;
  // Reads up to count bytes; returns how many arrived (fewer only at the end of the data).
  virtual size_t Read(uint8_t* destination, size_t count) = 0;
};

class MemoryByteReader final : public ByteReader {
 public:
  MemoryByteReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  size_t Read(uint8_t* destination, size_t count) override;

 private:
  const uint8_t* data_;
  size_t size_;
  size_t position_ = 0;
};

// Pixels in red, green, blue order, bottom row first, each row padded to a multiple of 4 bytes:
// the layout glTexImage2D expects with the default unpack alignment.
struct SnapshotBitmap {
  uint32_t width = 0;
  uint32_t height = 0;
  std::vector<uint8_t> pixels;

  static size_t RowStride(uint32_t width) { return (static_cast<size_t>(width) * 3 + 3) & ~size_t{3}; }
};

enum class BitmapStatus {
  Ok,
  HeaderShort,   // the 14-byte file header or the info header is incomplete
  Unsupported,   // not uncompressed 24-bit, or dimensions that are zero or absurd
  PaletteShort,  // the colour table ends early
  DataShort,     // the pixel data ends early: the bitmap holds what arrived, the rest is zero
};

struct DecodedBitmap {
  BitmapStatus status = BitmapStatus::HeaderShort;
  SnapshotBitmap bitmap;  // filled when status is Ok or DataShort
};

// Largest width or height accepted.
inline constexpr uint32_t kMaxBitmapSide = 16384;

// Reads one bitmap from the source. maxSide bounds the dimensions (and so the allocation).
DecodedBitmap DecodeBitmap(ByteReader& source, uint32_t maxSide = kMaxBitmapSide);

// Opens and decodes a file, telling the user of failures in message boxes captioned "BMP Unit".
// No value when the file cannot be used at all; a short pixel area still gives a bitmap.
std::optional<SnapshotBitmap> ReadBitmapFile(const std::string& path, ProcessServices& services);

}  // namespace vellora::renderer
