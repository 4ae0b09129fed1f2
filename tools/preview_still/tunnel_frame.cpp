#include "tunnel_frame.h"

#include <GL/osmesa.h>

#include <cstdlib>
#include <memory>
#include <vector>

#include "bmp_reader.h"
#include "fog_tunnel_scene.h"
#include "platform/posix/posix_folder_probes.h"
#include "snapshot_texture.h"

namespace vellora::tools {
namespace {

// The scene reads no file here (the texture is handed over), so these are never used.
class NoProcessServices final : public renderer::ProcessServices {
 public:
  void ShowMessageBox(const std::string&, const std::string&) override {}
  [[noreturn]] void ExitProcess(int code) override { std::exit(code); }
  std::string ExecutableFolder() override { return {}; }
  DataFolderProbes& FolderProbes() override { return probes_; }

 private:
  PosixFolderProbes probes_;
};

// The snapshot in the renderer's texture layout: bottom row first, rows padded to 4 bytes.
std::vector<uint8_t> TexturePixels(const RgbImage& snapshot) {
  const size_t stride = renderer::SnapshotBitmap::RowStride(static_cast<uint32_t>(snapshot.Width()));
  std::vector<uint8_t> pixels(stride * snapshot.Height());
  for (int y = 0; y < snapshot.Height(); ++y) {
    const uint8_t* row = snapshot.Row(snapshot.Height() - 1 - y);
    std::copy(row, row + size_t(snapshot.Width()) * 3, &pixels[stride * y]);
  }
  return pixels;
}

}  // namespace

std::optional<RgbImage> RenderTunnelFrame(const RgbImage& snapshot, int width, int height, int32_t animClock) {
  std::vector<uint8_t> buffer(size_t(width) * height * 4);
  const std::unique_ptr<osmesa_context, void (*)(OSMesaContext)> context(
      OSMesaCreateContextExt(OSMESA_RGBA, 16, 0, 0, nullptr), OSMesaDestroyContext);
  if (!context || !OSMesaMakeCurrent(context.get(), buffer.data(), GL_UNSIGNED_BYTE, width, height))
    return std::nullopt;

  NoProcessServices services;
  renderer::FogTunnelScene scene(services);
  scene.ResizeScene(width, height);
  const std::vector<uint8_t> pixels = TexturePixels(snapshot);
  scene.InitSceneWithTexture(renderer::UploadSnapshotTexture(static_cast<uint32_t>(snapshot.Width()),
                                                             static_cast<uint32_t>(snapshot.Height()),
                                                             pixels.data()));
  scene.DrawScene(animClock);
  glFinish();

  // The GL buffer has its bottom row first.
  RgbImage frame(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const uint8_t* p = &buffer[(size_t(height - 1 - y) * width + x) * 4];
      frame.Set(x, y, {p[0], p[1], p[2]});
    }
  return frame;
}

}  // namespace vellora::tools
