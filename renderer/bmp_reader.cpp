#include "bmp_reader.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace vellora::renderer {
namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr size_t kInfoHeaderSize = 40;
constexpr uint32_t kUncompressed = 0;

uint32_t Le32(const uint8_t* p) {
  return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}
uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

// Reads and drops count bytes; false when the source ends first.
bool Skip(ByteReader& source, uint64_t count) {
  std::array<uint8_t, 4096> scratch;
  while (count > 0) {
    const size_t chunk = static_cast<size_t>(std::min<uint64_t>(count, scratch.size()));
    if (source.Read(scratch.data(), chunk) != chunk) return false;
    count -= chunk;
  }
  return true;
}

void FlipRows(std::vector<uint8_t>& pixels, size_t stride, uint32_t rows) {
  for (uint32_t top = 0, bottom = rows - 1; top < bottom; ++top, --bottom) {
    std::swap_ranges(pixels.begin() + static_cast<ptrdiff_t>(top * stride),
                     pixels.begin() + static_cast<ptrdiff_t>((top + 1) * stride),
                     pixels.begin() + static_cast<ptrdiff_t>(bottom * stride));
  }
}

void SwapRedAndBlue(std::vector<uint8_t>& pixels, size_t stride, uint32_t width, uint32_t rows) {
  for (uint32_t row = 0; row < rows; ++row) {
    uint8_t* p = pixels.data() + row * stride;
    for (uint32_t x = 0; x < width; ++x, p += 3) std::swap(p[0], p[2]);
  }
}

}  // namespace

size_t MemoryByteReader::Read(uint8_t* destination, size_t count) {
  const size_t n = std::min(count, size_ - position_);
  if (n > 0) std::memcpy(destination, data_ + position_, n);
  position_ += n;
  return n;
}

DecodedBitmap DecodeBitmap(ByteReader& source, uint32_t maxSide) {
  DecodedBitmap result;
  std::array<uint8_t, kFileHeaderSize + kInfoHeaderSize> header;
  if (source.Read(header.data(), header.size()) != header.size()) return result;

  const uint32_t pixelOffset = Le32(&header[10]);
  const uint32_t infoSize = Le32(&header[14]);
  const int32_t width = static_cast<int32_t>(Le32(&header[18]));
  const int32_t height = static_cast<int32_t>(Le32(&header[22]));
  const uint16_t bitsPerPixel = Le16(&header[28]);
  const uint32_t compression = Le32(&header[30]);
  const uint32_t coloursUsed = Le32(&header[46]);

  // Longer info headers (V4, V5) carry colour-space fields after the 40 we use.
  if (infoSize < kInfoHeaderSize) {
    result.status = BitmapStatus::Unsupported;
    return result;
  }
  if (!Skip(source, infoSize - kInfoHeaderSize)) return result;

  const bool topDown = height < 0;
  const int64_t rows64 = topDown ? -static_cast<int64_t>(height) : height;
  if (bitsPerPixel != 24 || compression != kUncompressed || width <= 0 || rows64 == 0 ||
      static_cast<uint64_t>(width) > maxSide || static_cast<uint64_t>(rows64) > maxSide) {
    result.status = BitmapStatus::Unsupported;
    return result;
  }
  const auto columns = static_cast<uint32_t>(width);
  const auto rows = static_cast<uint32_t>(rows64);

  if (!Skip(source, uint64_t{4} * coloursUsed)) {
    result.status = BitmapStatus::PaletteShort;
    return result;
  }

  SnapshotBitmap& bitmap = result.bitmap;
  bitmap.width = columns;
  bitmap.height = rows;
  const size_t stride = SnapshotBitmap::RowStride(columns);
  bitmap.pixels.assign(stride * rows, 0);

  // Honour a pixel-data offset that leaves a gap after the colour table.
  const uint64_t position = kFileHeaderSize + uint64_t{infoSize} + uint64_t{4} * coloursUsed;
  bool complete = pixelOffset <= position || Skip(source, pixelOffset - position);
  if (complete) complete = source.Read(bitmap.pixels.data(), bitmap.pixels.size()) == bitmap.pixels.size();

  if (topDown) FlipRows(bitmap.pixels, stride, rows);
  if (!complete) {
    result.status = BitmapStatus::DataShort;
    return result;
  }
  SwapRedAndBlue(bitmap.pixels, stride, columns, rows);
  result.status = BitmapStatus::Ok;
  return result;
}

}  // namespace vellora::renderer
