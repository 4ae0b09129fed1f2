#include "png_file.h"

#include <zlib.h>

#include <cstdio>
#include <memory>

namespace vellora::tools {
namespace {

void AppendBigEndian32(std::vector<uint8_t>& out, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(value >> shift));
}

// One chunk: length, type, data, and the CRC of type and data.
void AppendChunk(std::vector<uint8_t>& out, const char (&type)[5], const std::vector<uint8_t>& data) {
  AppendBigEndian32(out, static_cast<uint32_t>(data.size()));
  const size_t typeStart = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  const uLong crc = crc32(0L, out.data() + typeStart, static_cast<uInt>(out.size() - typeStart));
  AppendBigEndian32(out, static_cast<uint32_t>(crc));
}

}  // namespace

bool WritePng(const RgbImage& image, const std::string& path) {
  const size_t rowBytes = size_t(image.Width()) * 3;
  std::vector<uint8_t> raw;
  raw.reserve((rowBytes + 1) * image.Height());
  for (int y = 0; y < image.Height(); ++y) {
    raw.push_back(0);  // filter type None
    raw.insert(raw.end(), image.Row(y), image.Row(y) + rowBytes);
  }
  uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
  std::vector<uint8_t> packed(packedSize);
  if (compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()), Z_BEST_COMPRESSION) != Z_OK)
    return false;
  packed.resize(packedSize);

  std::vector<uint8_t> header;
  AppendBigEndian32(header, static_cast<uint32_t>(image.Width()));
  AppendBigEndian32(header, static_cast<uint32_t>(image.Height()));
  header.insert(header.end(), {8, 2, 0, 0, 0});  // 8 bits, RGB, deflate, no filter choice, no interlace

  std::vector<uint8_t> file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
  AppendChunk(file, "IHDR", header);
  AppendChunk(file, "IDAT", packed);
  AppendChunk(file, "IEND", {});

  const std::unique_ptr<FILE, int (*)(FILE*)> out(std::fopen(path.c_str(), "wb"), std::fclose);
  if (!out) return false;
  return std::fwrite(file.data(), 1, file.size(), out.get()) == file.size() && std::fflush(out.get()) == 0;
}

}  // namespace vellora::tools
