// Builds BMP file bytes for tests, with every header field under the test's control.
#pragma once

#include <cstdint>
#include <array>
#include <functional>
#include <vector>

namespace vellora::renderer::testing {

struct BmpSpec {
  int32_t width = 4;
  int32_t height = 2;  // negative: rows stored top row first
  uint16_t bitsPerPixel = 24;
  uint32_t compression = 0;
  uint32_t infoHeaderSize = 40;
  uint32_t imageSizeField = 0xFFFFFFFF;  // all ones: the padded data size
  uint32_t coloursUsed = 0;
  uint32_t gapBeforePixels = 0;          // bytes between colour table and pixels, named by the offset
  // Colour of picture pixel (x, y), y = 0 being the bottom row; returns {r, g, b}.
  std::function<std::array<uint8_t, 3>(int x, int y)> colour = [](int x, int y) {
    return std::array<uint8_t, 3>{static_cast<uint8_t>(10 * x + 1), static_cast<uint8_t>(10 * y + 2), 200};
  };
};

inline void PutLe(std::vector<uint8_t>& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

inline std::vector<uint8_t> BuildBmp(const BmpSpec& spec) {
  const int rows = spec.height < 0 ? -spec.height : spec.height;
  const size_t stride = (static_cast<size_t>(spec.width) * 3 + 3) & ~size_t{3};
  const uint32_t dataSize = static_cast<uint32_t>(stride * static_cast<size_t>(rows));
  const uint32_t offset = 14 + spec.infoHeaderSize + 4 * spec.coloursUsed + spec.gapBeforePixels;

  std::vector<uint8_t> out;
  out.push_back('B');
  out.push_back('M');
  PutLe(out, offset + dataSize, 4);
  PutLe(out, 0, 4);
  PutLe(out, offset, 4);
  PutLe(out, spec.infoHeaderSize, 4);
  PutLe(out, static_cast<uint32_t>(spec.width), 4);
  PutLe(out, static_cast<uint32_t>(spec.height), 4);
  PutLe(out, 1, 2);
  PutLe(out, spec.bitsPerPixel, 2);
  PutLe(out, spec.compression, 4);
  PutLe(out, spec.imageSizeField == 0xFFFFFFFF ? dataSize : spec.imageSizeField, 4);
  PutLe(out, 2835, 4);
  PutLe(out, 2835, 4);
  PutLe(out, spec.coloursUsed, 4);
  PutLe(out, 0, 4);
  out.resize(14 + spec.infoHeaderSize, 0xEE);  // the rest of a longer info header
  for (uint32_t i = 0; i < spec.coloursUsed; ++i) PutLe(out, 0xDEADBEEF, 4);
  out.resize(out.size() + spec.gapBeforePixels, 0xAB);
  for (int fileRow = 0; fileRow < rows; ++fileRow) {
    const int y = spec.height < 0 ? rows - 1 - fileRow : fileRow;
    for (int x = 0; x < spec.width; ++x) {
      const auto rgb = spec.colour(x, y);
      out.insert(out.end(), {rgb[2], rgb[1], rgb[0]});
    }
    out.resize(out.size() + (stride - static_cast<size_t>(spec.width) * 3), 0x5A);  // padding
  }
  return out;
}

}  // namespace vellora::renderer::testing
