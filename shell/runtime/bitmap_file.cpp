#include "runtime/bitmap_file.h"

#include <cstdint>

namespace vellora::shell {
namespace {

void PutLe(std::string& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

}  // namespace

std::string EncodeBitmap24(const Canvas& picture) {
  const uint32_t width = static_cast<uint32_t>(picture.Width());
  const uint32_t height = static_cast<uint32_t>(picture.Height());
  const uint32_t stride = (width * 3 + 3) & ~3u;
  const uint32_t dataSize = stride * height;
  constexpr uint32_t kHeaders = 14 + 40;

  std::string out;
  out.reserve(kHeaders + dataSize);
  out += "BM";
  PutLe(out, kHeaders + dataSize, 4);
  PutLe(out, 0, 4);
  PutLe(out, kHeaders, 4);
  PutLe(out, 40, 4);
  PutLe(out, width, 4);
  PutLe(out, height, 4);  // positive: bottom row first
  PutLe(out, 1, 2);
  PutLe(out, 24, 2);
  PutLe(out, 0, 4);  // uncompressed
  PutLe(out, dataSize, 4);
  PutLe(out, 3780, 4);  // 96 dots per inch
  PutLe(out, 3780, 4);
  PutLe(out, 0, 4);
  PutLe(out, 0, 4);
  // The canvas's rows, top row first in red, green, blue, become the file's rows, bottom row
  // first in blue, green, red, each padded with zeros.
  out.resize(kHeaders + static_cast<size_t>(dataSize), '\0');
  const uint8_t* canvas = picture.Bytes().data();
  for (uint32_t row = 0; row < height; ++row) {
    const uint8_t* from = canvas + (static_cast<size_t>(height - 1 - row) * width) * 3;
    char* to = out.data() + kHeaders + static_cast<size_t>(row) * stride;
    for (uint32_t x = 0; x < width; ++x, from += 3, to += 3) {
      to[0] = static_cast<char>(from[2]);
      to[1] = static_cast<char>(from[1]);
      to[2] = static_cast<char>(from[0]);
    }
  }
  return out;
}

bool SaveBitmap24(FileSystem& files, const Canvas& picture, const std::string& path, bool ownerOnly) {
  // A link at the path is replaced, never followed: whoever could plant one must not choose
  // which file the screen's picture lands in.
  ReplaceHow how;
  how.ownerOnly = ownerOnly;
  how.throughLinks = false;
  how.durability = Durability::Unflushed;
  return ReplaceFileAtomically(files, path, EncodeBitmap24(picture), how);
}

}  // namespace vellora::shell
