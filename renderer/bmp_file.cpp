// Reading the snapshot from disk and telling the user what went wrong.
#include <cstdio>
#include <memory>

#include "bmp_reader.h"

namespace vellora::renderer {
namespace {

constexpr const char* kBitmapCaption = "BMP Unit";

class FileByteReader final : public ByteReader {
 public:
  explicit FileByteReader(std::FILE* file) : file_(file) {}
  size_t Read(uint8_t* destination, size_t count) override {
    return std::fread(destination, 1, count, file_);
  }

 private:
  std::FILE* file_;
};

}  // namespace

std::optional<SnapshotBitmap> ReadBitmapFile(const std::string& path, ProcessServices& services) {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
  if (!file) {
    services.ShowMessageBox(kBitmapCaption, "Error opening \"" + path);
    return std::nullopt;
  }
  FileByteReader reader(file.get());
  DecodedBitmap decoded = DecodeBitmap(reader);
  switch (decoded.status) {
    case BitmapStatus::Ok:
      return std::move(decoded.bitmap);
    case BitmapStatus::DataShort:
      services.ShowMessageBox(kBitmapCaption, "Error reading bitmap data");
      return std::move(decoded.bitmap);
    case BitmapStatus::PaletteShort:
      services.ShowMessageBox(kBitmapCaption, "Error reading palette");
      return std::nullopt;
    case BitmapStatus::HeaderShort:
    case BitmapStatus::Unsupported:
      return std::nullopt;
  }
  return std::nullopt;
}

}  // namespace vellora::renderer
