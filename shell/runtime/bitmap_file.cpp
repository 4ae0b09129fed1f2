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
  for (uint32_t row = height; row-- > 0;) {
    for (uint32_t x = 0; x < width; ++x) {
      const Rgb c = picture.Pixel(static_cast<int32_t>(x), static_cast<int32_t>(row));
      out.push_back(static_cast<char>(c.b));
      out.push_back(static_cast<char>(c.g));
      out.push_back(static_cast<char>(c.r));
    }
    out.append(stride - width * 3, '\0');
  }
  return out;
}

bool SaveBitmap24(FileSystem& files, const Canvas& picture, const std::string& path, bool ownerOnly) {
  return ReplaceFileAtomically(files, path, EncodeBitmap24(picture), ownerOnly, Durability::Unflushed);
}

}  // namespace vellora::shell
