#include "bmp_reader.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "bmp_builder.h"
#include "fake_render_platform.h"

namespace vellora::renderer {
namespace {

using testing::BmpSpec;
using testing::BuildBmp;
using testing::FakeProcessServices;

DecodedBitmap Decode(const std::vector<uint8_t>& bytes, uint32_t maxSide = kMaxBitmapSide) {
  MemoryByteReader reader(bytes.data(), bytes.size());
  return DecodeBitmap(reader, maxSide);
}

// The decoded pixel at picture position (x, y), y = 0 the bottom row, as {r, g, b}.
std::array<uint8_t, 3> PixelAt(const SnapshotBitmap& b, uint32_t x, uint32_t y) {
  const uint8_t* p = b.pixels.data() + y * SnapshotBitmap::RowStride(b.width) + x * 3;
  return {p[0], p[1], p[2]};
}

// A default spec with one change.
template <typename Change>
BmpSpec With(Change change) {
  BmpSpec spec;
  change(spec);
  return spec;
}

void ExpectPictureMatches(const BmpSpec& spec, const SnapshotBitmap& b) {
  const int rows = spec.height < 0 ? -spec.height : spec.height;
  ASSERT_EQ(b.width, static_cast<uint32_t>(spec.width));
  ASSERT_EQ(b.height, static_cast<uint32_t>(rows));
  ASSERT_EQ(b.pixels.size(), SnapshotBitmap::RowStride(b.width) * b.height);
  for (int y = 0; y < rows; ++y)
    for (int x = 0; x < spec.width; ++x)
      ASSERT_EQ(PixelAt(b, x, y), spec.colour(x, y)) << "at " << x << "," << y;
}

// Every layout the reader takes comes out as the same picture: bottom-up rows with every row
// padding (widths 4, 3, 2, 1 need 0, 3, 2, 1 bytes; 1366 is a common screen width), top-down
// rows, a colour table, a gap before the pixels, a longer info header, and an image size field
// of 0, of one byte or of far more than the file holds (the size follows from width, height and
// row padding alone).
TEST(BmpReader, EveryLayoutItTakesGivesTheSameRgbPicture) {
  std::vector<BmpSpec> specs;
  for (int width : {4, 3, 2, 1, 1366}) specs.push_back(With([&](BmpSpec& s) { s.width = width; s.height = 3; }));
  specs.push_back(With([](BmpSpec& s) { s.width = 3; s.height = -4; }));
  specs.push_back(With([](BmpSpec& s) { s.coloursUsed = 2; }));
  specs.push_back(With([](BmpSpec& s) { s.gapBeforePixels = 10; }));
  specs.push_back(With([](BmpSpec& s) { s.infoHeaderSize = 124; s.coloursUsed = 1; s.gapBeforePixels = 6; }));
  for (uint32_t field : {0u, 1u, 1u << 30})  // rows of width 5 padded from 15 to 16 bytes
    specs.push_back(With([&](BmpSpec& s) { s.width = 5; s.height = 3; s.imageSizeField = field; }));
  for (size_t i = 0; i < specs.size(); ++i) {
    SCOPED_TRACE("layout " + std::to_string(i));
    const DecodedBitmap d = Decode(BuildBmp(specs[i]));
    ASSERT_EQ(d.status, BitmapStatus::Ok);
    ExpectPictureMatches(specs[i], d.bitmap);
  }
}

TEST(BmpReader, ShortPixelDataKeepsWhatArrivedUnswappedAndZeroesTheRest) {
  BmpSpec spec;
  spec.width = 4;
  spec.height = 2;
  std::vector<uint8_t> bytes = BuildBmp(spec);
  bytes.resize(bytes.size() - 12 - 5);  // the top row and 5 bytes of the bottom row are missing
  const DecodedBitmap d = Decode(bytes);
  ASSERT_EQ(d.status, BitmapStatus::DataShort);
  const auto& px = d.bitmap.pixels;
  ASSERT_EQ(px.size(), 24u);
  // File order (blue first) for what was read; nothing exchanged.
  EXPECT_EQ(px[0], 200);
  EXPECT_EQ(px[2], 1);
  for (size_t i = 7; i < px.size(); ++i) EXPECT_EQ(px[i], 0) << i;
}

TEST(BmpReader, IncompleteHeadersAndShortColourTables) {
  const std::vector<uint8_t> full = BuildBmp(BmpSpec{});
  for (size_t length : {size_t{0}, size_t{13}, size_t{14}, size_t{53}}) {
    const std::vector<uint8_t> cut(full.begin(), full.begin() + static_cast<ptrdiff_t>(length));
    EXPECT_EQ(Decode(cut).status, BitmapStatus::HeaderShort) << length;
  }
  // A colour table far larger than any file: read through, never allocated.
  std::vector<uint8_t> bytes = BuildBmp(BmpSpec{});
  bytes[46] = bytes[47] = bytes[48] = bytes[49] = 0xFF;
  EXPECT_EQ(Decode(bytes).status, BitmapStatus::PaletteShort);
}

TEST(BmpReader, RejectsFormatsAndDimensionsItCannotShow) {
  const BmpSpec rejected[] = {
      With([](BmpSpec& s) { s.bitsPerPixel = 32; }),
      With([](BmpSpec& s) { s.bitsPerPixel = 8; }),
      With([](BmpSpec& s) { s.compression = 1; }),
      With([](BmpSpec& s) { s.infoHeaderSize = 12; s.width = 16; }),  // OS/2 core header
      With([](BmpSpec& s) { s.width = 0; }),
      With([](BmpSpec& s) { s.width = -4; }),
      With([](BmpSpec& s) { s.height = 0; }),
  };
  for (const BmpSpec& spec : rejected) EXPECT_EQ(Decode(BuildBmp(spec)).status, BitmapStatus::Unsupported);

  // Dimensions past the limit are refused from the header alone, before any allocation.
  std::vector<uint8_t> header = BuildBmp(BmpSpec{});
  header.resize(54);
  const auto withSize = [&](uint32_t w, uint32_t h) {
    std::vector<uint8_t> b = header;
    for (int i = 0; i < 4; ++i) {
      b[18 + i] = static_cast<uint8_t>(w >> (8 * i));
      b[22 + i] = static_cast<uint8_t>(h >> (8 * i));
    }
    return b;
  };
  EXPECT_EQ(Decode(withSize(16385, 1)).status, BitmapStatus::Unsupported);
  EXPECT_EQ(Decode(withSize(1, 16385)).status, BitmapStatus::Unsupported);
  EXPECT_EQ(Decode(withSize(1, static_cast<uint32_t>(INT_MIN))).status, BitmapStatus::Unsupported);
  EXPECT_EQ(Decode(withSize(0x7FFFFFFF, 0x7FFFFFFF)).status, BitmapStatus::Unsupported);
  EXPECT_EQ(Decode(withSize(100, 100), 64).status, BitmapStatus::Unsupported);
  // At the limit the header is accepted and the missing data is reported as short.
  EXPECT_EQ(Decode(withSize(64, 64), 64).status, BitmapStatus::DataShort);
}

class BmpFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = std::filesystem::temp_directory_path() /
             ("vellora-bmp-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
              ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(folder);
    path = (folder / "Vellora.bmp").string();
  }
  void TearDown() override { std::filesystem::remove_all(folder); }
  void Write(const std::vector<uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
  }

  std::filesystem::path folder;
  std::string path;
  FakeProcessServices services;
};

TEST_F(BmpFileTest, MissingFileSaysErrorOpeningWithAnOpeningQuoteOnly) {
  EXPECT_FALSE(ReadBitmapFile(path, services).has_value());
  ASSERT_EQ(services.boxes.size(), 1u);
  EXPECT_EQ(services.boxes[0], (FakeProcessServices::Box{"BMP Unit", "Error opening \"" + path}));
}

TEST_F(BmpFileTest, ShortFilesAreReportedByWhatRanShort) {
  std::vector<uint8_t> bytes = BuildBmp(With([](BmpSpec& s) { s.coloursUsed = 3; }));
  bytes.resize(54 + 5);
  Write(bytes);
  EXPECT_FALSE(ReadBitmapFile(path, services).has_value());

  bytes = BuildBmp(BmpSpec{});
  bytes.pop_back();
  Write(bytes);
  const auto partial = ReadBitmapFile(path, services);
  ASSERT_TRUE(partial.has_value());
  EXPECT_EQ(partial->width, 4u);

  Write({'B', 'M', 0, 0});  // too short for its headers: no box of its own
  EXPECT_FALSE(ReadBitmapFile(path, services).has_value());

  ASSERT_EQ(services.boxes.size(), 2u);
  EXPECT_EQ(services.boxes[0], (FakeProcessServices::Box{"BMP Unit", "Error reading palette"}));
  EXPECT_EQ(services.boxes[1], (FakeProcessServices::Box{"BMP Unit", "Error reading bitmap data"}));
}

}  // namespace
}  // namespace vellora::renderer
