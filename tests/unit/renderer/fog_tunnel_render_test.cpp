// Renders the real scene offscreen and compares it with an independent ray-cast of the same
// tunnel, so that a wrong matrix order, a flipped texture or a wrong fog shows up as a
// different picture.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <random>
#include <utility>

#include "bmp_builder.h"
#include "bmp_reader.h"
#include "fake_render_platform.h"
#include "fog_tunnel_scene.h"
#include "gl_api.h"
#include "offscreen_gl.h"
#include "snapshot_texture.h"
#include "texture_scale.h"

namespace vellora::renderer {
namespace {

using testing::BmpSpec;
using testing::BuildBmp;
using testing::FakeProcessServices;
using testing::OffscreenGl;
using Rgb = std::array<double, 3>;

constexpr double kPi = 3.14159265358979323846;

// A snapshot whose four quarters differ, so that any flip or exchange changes the picture.
constexpr int kTextureWidth = 64;
constexpr int kTextureHeight = 32;
std::array<uint8_t, 3> QuarterColour(int x, int y) {
  const bool right = x >= kTextureWidth / 2;
  const bool top = y >= kTextureHeight / 2;
  if (!top) return right ? std::array<uint8_t, 3>{30, 200, 40} : std::array<uint8_t, 3>{220, 30, 30};
  return right ? std::array<uint8_t, 3>{230, 220, 40} : std::array<uint8_t, 3>{40, 40, 220};
}

// Bilinear sample of the snapshot with repeating coordinates, as GL_LINEAR does.
Rgb SampleLinearRepeat(double s, double t) {
  const double x = s * kTextureWidth - 0.5, y = t * kTextureHeight - 0.5;
  const double x0 = std::floor(x), y0 = std::floor(y);
  const double fx = x - x0, fy = y - y0;
  const auto wrap = [](double v, int size) { return ((int(v) % size) + size) % size; };
  Rgb out{};
  for (int dy = 0; dy < 2; ++dy)
    for (int dx = 0; dx < 2; ++dx) {
      const double weight = (dx ? fx : 1 - fx) * (dy ? fy : 1 - fy);
      const auto texel = QuarterColour(wrap(x0 + dx, kTextureWidth), wrap(y0 + dy, kTextureHeight));
      for (int c = 0; c < 3; ++c) out[c] += weight * texel[c] / 255.0;
    }
  return out;
}

// What the tunnel should look like through window pixel (px, py) at clock t.
Rgb ExpectedPixel(int px, int py, int width, int height, int64_t t) {
  const double focal = 1.0 / std::tan(22.5 * kPi / 180.0);
  const double aspect = double(width) / height;
  const double ex = ((px + 0.5) / width * 2 - 1) * aspect / focal;
  const double ey = ((py + 0.5) / height * 2 - 1) / focal;
  // Undo the roll, then the quarter turn that made +x the viewing direction. The ray advances
  // one unit along x per unit of eye depth.
  const double roll = (t / 70.0) * kPi / 180.0;
  const double rx = ex * std::cos(roll) + ey * std::sin(roll);
  const double ry = -ex * std::sin(roll) + ey * std::cos(roll);
  const double dirY = ry, dirZ = rx;
  const double camera = t / 400.0;
  const int64_t k = (t - 400) / 400 / 4;
  const double tunnelStart = 4.0 * k + 2, firstEndWall = 4.0 * k + 6;

  const double wallDepth = std::min(dirY != 0 ? 1 / std::abs(dirY) : 1e9, dirZ != 0 ? 1 / std::abs(dirZ) : 1e9);
  const double endDepth = firstEndWall - camera;
  double depth, s, tc;
  if (endDepth <= wallDepth) {
    depth = endDepth;
    s = (depth * dirZ + 1) / 2;
    tc = (depth * dirY + 1) / 2;
  } else {
    depth = wallDepth;
    const double x = camera + depth;
    if (x < tunnelStart) return {0.8, 0.8, 0.9};  // nothing there: the clear colour
    const double local = std::fmod(x - tunnelStart, 4.0) - 2;
    const double y = depth * dirY, z = depth * dirZ;
    if (std::abs(std::abs(z) - 1) < 1e-9 && std::abs(z) >= std::abs(y)) {  // side walls
      s = z > 0 ? (local + 2) / 2 : (2 - local) / 2;
      tc = (y + 1) / 2;
    } else {  // ceiling and floor
      s = y > 0 ? (local + 2) / 2 : (2 - local) / 2;
      tc = (1 - z) / 2;
    }
  }
  const Rgb texel = SampleLinearRepeat(s, tc);
  const double fog = std::exp(-0.6 * depth);
  const Rgb fogColour{0.9, 0.9, 1.0};
  Rgb out;
  for (int c = 0; c < 3; ++c) out[c] = fog * texel[c] + (1 - fog) * fogColour[c];
  return out;
}

class FogTunnelRenderTest : public ::testing::Test {
 protected:
  static constexpr int kWidth = 160, kHeight = 120;

  void SetUp() override {
    BmpSpec spec;
    spec.width = kTextureWidth;
    spec.height = kTextureHeight;
    spec.colour = QuarterColour;
    const std::vector<uint8_t> bytes = BuildBmp(spec);
    MemoryByteReader reader(bytes.data(), bytes.size());
    DecodedBitmap decoded = DecodeBitmap(reader);
    ASSERT_EQ(decoded.status, BitmapStatus::Ok);
    scene.ResizeScene(kWidth, kHeight);
    scene.InitSceneWithTexture(UploadSnapshotTexture(decoded.bitmap.width, decoded.bitmap.height,
                                                     decoded.bitmap.pixels.data()));
  }

  // The frame drawn at clock t, read back.
  std::vector<uint8_t> Frame(int64_t t) {
    scene.DrawScene(t);
    gl.Finish();
    return gl.Pixels();
  }
  // Share of pixels whose colour differs from the ray-cast by more than a tenth.
  double MismatchAt(int64_t t) {
    Frame(t);
    int wrong = 0;
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x) {
        const Rgb want = ExpectedPixel(x, y, kWidth, kHeight, t);
        const auto got = gl.Pixel(x, y);
        for (int c = 0; c < 3; ++c)
          if (std::abs(got[c] / 255.0 - want[c]) > 0.1) {
            ++wrong;
            break;
          }
      }
    return double(wrong) / (kWidth * kHeight);
  }

  OffscreenGl gl{kWidth, kHeight};
  FakeProcessServices services;
  FogTunnelScene scene{services};
};

TEST_F(FogTunnelRenderTest, FramesMatchTheRayCastTunnel) {
  // Before the tunnel is reached, just after the first jump, close to an end wall, mid-roll,
  // far down the tunnel; then a day on, either side of 2^31 ms (24.8 days) and of 2^32 ms
  // (49.7 days), and 60 days on.
  const std::initializer_list<int64_t> clocks = {0,           350,           2000,          2600,
                                                 3500,        5321,          12345,         90000,
                                                 86'405'321,  2'147'483'321, 2'147'484'100, 4'294'967'000,
                                                 4'294'968'100, 5'184'012'345};
  for (int64_t t : clocks) {
    EXPECT_LT(MismatchAt(t), 0.01) << "t=" << t;
  }
}

TEST_F(FogTunnelRenderTest, AFrameAfterAMonthIsTheMatchingFrameOfTheFirstMinutes) {
  // The view repeats every 100.8 s (whole turns and whole segment lengths); a month is that
  // many times over and 28.8 s more.
  const int64_t month = 2'592'000'000, sameView = 28'800;
  for (int64_t t : {0, 2600, 5321, 90000}) EXPECT_TRUE(Frame(month + t) == Frame(sameView + t)) << "t=" << t;
}

TEST_F(FogTunnelRenderTest, ZeroHeightIsTreatedAsOne) {
  scene.ResizeScene(kWidth, 0);
  GLint viewport[4];
  glGetIntegerv(GL_VIEWPORT, viewport);
  EXPECT_EQ(viewport[3], 1);
  EXPECT_EQ(viewport[2], kWidth);
  GLfloat projection[16];
  glGetFloatv(GL_PROJECTION_MATRIX, projection);
  const double focal = 1.0 / std::tan(22.5 * kPi / 180.0);
  EXPECT_NEAR(projection[0], focal / kWidth, 1e-6);  // aspect width / 1
  EXPECT_NEAR(projection[5], focal, 1e-5);
}

class SnapshotFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = std::filesystem::temp_directory_path() /
             ("vellora-scene-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "-" +
              std::to_string(::getpid()));  // other runs of the suite on the machine have folders of their own
    std::filesystem::create_directories(folder);
    services.exeFolder = folder.string() + "/";
  }
  void TearDown() override { std::filesystem::remove_all(folder); }

  std::filesystem::path folder;
  OffscreenGl gl{32, 32};
  FakeProcessServices services;
  FogTunnelScene scene{services};
};

// The texture GLU's gluBuild2DMipmaps makes of the same pixels, every level built.
GLuint GluMipmappedTexture(uint32_t width, uint32_t height, const uint8_t* pixels) {
  const GLuint texture = NewSnapshotTextureName();
  gluBuild2DMipmaps(GL_TEXTURE_2D, 3, static_cast<GLint>(width), static_cast<GLint>(height), GL_RGB,
                    GL_UNSIGNED_BYTE, pixels);
  return texture;
}

// One level of the bound texture: its size and its RGB bytes in rows padded to 4 bytes.
struct TextureLevel {
  GLint width = 0, height = 0;
  std::vector<uint8_t> bytes;
};
TextureLevel ReadLevel(GLint level) {
  TextureLevel read;
  glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_WIDTH, &read.width);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_HEIGHT, &read.height);
  read.bytes.resize(SnapshotBitmap::RowStride(static_cast<uint32_t>(read.width)) * static_cast<size_t>(read.height));
  if (!read.bytes.empty()) glGetTexImage(GL_TEXTURE_2D, level, GL_RGB, GL_UNSIGNED_BYTE, read.bytes.data());
  return read;
}

// Snapshot pixels of noise: every byte counts, so a texel rounded differently shows.
SnapshotBitmap NoiseBitmap(uint32_t width, uint32_t height, uint32_t seed) {
  std::mt19937 random(seed);
  SnapshotBitmap bitmap{width, height, std::vector<uint8_t>(SnapshotBitmap::RowStride(width) * height)};
  for (uint8_t& byte : bitmap.pixels) byte = static_cast<uint8_t>(random());
  return bitmap;
}

TEST_F(SnapshotFileTest, LoadsTheSnapshotBesideTheExecutableAsGlusLevelZeroAlone) {
  BmpSpec spec;
  spec.width = 1366;  // padded rows, not a power of two
  spec.height = 6;
  spec.colour = [](int x, int y) {
    return std::array<uint8_t, 3>{static_cast<uint8_t>(x * 7 + y), static_cast<uint8_t>(x / 3), static_cast<uint8_t>(y * 40)};
  };
  const std::vector<uint8_t> bytes = BuildBmp(spec);
  std::ofstream(folder / "Vellora.bmp", std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  scene.InitScene();
  EXPECT_TRUE(services.boxes.empty());
  EXPECT_EQ(scene.SnapshotPath(), services.exeFolder + "Vellora.bmp");
  GLint bound = 0;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  EXPECT_NE(bound, 0);
  const TextureLevel levelZero = ReadLevel(0);
  EXPECT_EQ(ReadLevel(1).width, 0);  // no smaller level is built

  MemoryByteReader reader(bytes.data(), bytes.size());
  const DecodedBitmap decoded = DecodeBitmap(reader);
  GluMipmappedTexture(decoded.bitmap.width, decoded.bitmap.height, decoded.bitmap.pixels.data());
  const TextureLevel glus = ReadLevel(0);
  EXPECT_EQ(levelZero.width, 1024);
  EXPECT_EQ(levelZero.height, 8);
  EXPECT_EQ(levelZero.width, glus.width);
  EXPECT_EQ(levelZero.height, glus.height);
  EXPECT_TRUE(levelZero.bytes == glus.bytes);
}

TEST(SnapshotTextureTest, LevelZeroHoldsGlusBytesForScreenAndOddSizes) {
  OffscreenGl gl{8, 8};
  // Screens (scaled up, down, or on one side only), sides that round up from 3 x 2^k, thin
  // strips, and strips longer than the largest texture (16384 here), which the driver's answer
  // halves on both sides until a texel's box spans three and four source rows or columns.
  // Sides of 1 and 2 texels are left out: GLU uploads those rows unpadded with an alignment of
  // 4 and so reads past its own buffer.
  const std::pair<uint32_t, uint32_t> sizes[] = {{1280, 1024}, {1920, 1080}, {1366, 768}, {1024, 768},
                                                 {1440, 900},  {800, 600},   {3, 5},      {13, 7},
                                                 {1000, 6},    {6, 1000},    {64, 32},    {12, 49151},
                                                 {49151, 12}};
  uint32_t seed = 1;
  for (const auto& [width, height] : sizes) {
    const SnapshotBitmap snapshot = NoiseBitmap(width, height, seed++);
    UploadSnapshotTexture(width, height, snapshot.pixels.data());
    const TextureLevel ours = ReadLevel(0);
    GluMipmappedTexture(width, height, snapshot.pixels.data());
    const TextureLevel glus = ReadLevel(0);
    EXPECT_EQ(ours.width, glus.width) << width << "x" << height;
    EXPECT_EQ(ours.height, glus.height) << width << "x" << height;
    EXPECT_TRUE(ours.bytes == glus.bytes) << width << "x" << height;
  }
  // A side of exactly twice the texture's is halved as GLU halves one mipmap level to the next.
  const SnapshotBitmap square = NoiseBitmap(64, 32, seed);
  GluMipmappedTexture(64, 32, square.pixels.data());
  EXPECT_TRUE(ScaleRgbLikeGlu(square.pixels.data(), 64, 32, 32, 16) == ReadLevel(1).bytes);
}

TEST_F(FogTunnelRenderTest, FramesWithTheLevelZeroTextureAreThoseOfTheMipmappedOne) {
  const SnapshotBitmap snapshot = NoiseBitmap(300, 170, 7);  // scaled to 256 x 128
  const GLuint mipmapped = GluMipmappedTexture(snapshot.width, snapshot.height, snapshot.pixels.data());
  const GLuint levelZero = UploadSnapshotTexture(snapshot.width, snapshot.height, snapshot.pixels.data());
  for (int64_t t : {0, 2600, 5321, 12345}) {
    glBindTexture(GL_TEXTURE_2D, mipmapped);
    const std::vector<uint8_t> before = Frame(t);
    glBindTexture(GL_TEXTURE_2D, levelZero);
    EXPECT_TRUE(Frame(t) == before) << "t=" << t;
  }
}

}  // namespace
}  // namespace vellora::renderer
