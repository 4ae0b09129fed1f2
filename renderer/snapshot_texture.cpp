#include "snapshot_texture.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "bmp_reader.h"
#include "gl_api.h"
#include "texture_scale.h"

namespace vellora::renderer {
namespace {

// The level-0 sides gluBuild2DMipmaps gives an image: each side rounded to a power of two its
// way, then both halved together until the driver says that level 1 of that size would fit
// (the proxy texture); if not even 1 x 1 fits, the rounded sides cut to the largest size.
void GluTextureSize(uint32_t width, uint32_t height, GLsizei& textureWidth, GLsizei& textureHeight) {
  auto levelZeroWidth = static_cast<GLsizei>(GluPowerOfTwoSide(width));
  auto levelZeroHeight = static_cast<GLsizei>(GluPowerOfTwoSide(height));
  for (;;) {
    const GLsizei levelOneWidth = levelZeroWidth > 1 ? levelZeroWidth >> 1 : levelZeroWidth;
    const GLsizei levelOneHeight = levelZeroHeight > 1 ? levelZeroHeight >> 1 : levelZeroHeight;
    glTexImage2D(GL_PROXY_TEXTURE_2D, 1, 3, levelOneWidth, levelOneHeight, 0, GL_RGB, GL_UNSIGNED_BYTE, nullptr);
    GLint proxyWidth = 0;
    glGetTexLevelParameteriv(GL_PROXY_TEXTURE_2D, 1, GL_TEXTURE_WIDTH, &proxyWidth);
    if (proxyWidth != 0) break;
    if (levelZeroWidth == 1 && levelZeroHeight == 1) {
      GLint largest = 0;
      glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
      levelZeroWidth = std::min<GLsizei>(static_cast<GLsizei>(GluPowerOfTwoSide(width)), largest);
      levelZeroHeight = std::min<GLsizei>(static_cast<GLsizei>(GluPowerOfTwoSide(height)), largest);
      break;
    }
    levelZeroWidth = levelOneWidth;
    levelZeroHeight = levelOneHeight;
  }
  textureWidth = levelZeroWidth;
  textureHeight = levelZeroHeight;
}

// The process's services with the messages of the bitmap reader left unshown.
class SilentServices final : public ProcessServices {
 public:
  explicit SilentServices(ProcessServices& services) : services_(services) {}
  void ShowMessageBox(const std::string&, const std::string&) override {}
  [[noreturn]] void ExitProcess(int code) override {
    services_.ExitProcess(code);
    std::abort();  // not reached: a virtual call does not carry the noreturn promise
  }
  std::string ExecutableFolder() override { return services_.ExecutableFolder(); }
  DataFolderProbes& FolderProbes() override { return services_.FolderProbes(); }

 private:
  ProcessServices& services_;
};

}  // namespace

uint32_t NewSnapshotTextureName() {
  GLuint texture = 0;
  glGenTextures(1, &texture);
  glBindTexture(GL_TEXTURE_2D, texture);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  return texture;
}

uint32_t UploadSnapshotTexture(uint32_t width, uint32_t height, const uint8_t* pixels) {
  const uint32_t texture = NewSnapshotTextureName();
  // The minifying filter uses no mipmaps, so level 0 is the only one ever sampled: it is built
  // as gluBuild2DMipmaps builds it (sides not powers of two scaled with GLU's own filter, to
  // the same bytes) and the smaller levels are left out. Rows are padded to 4 bytes, which is
  // the default unpack alignment.
  GLsizei textureWidth = 0, textureHeight = 0;
  GluTextureSize(width, height, textureWidth, textureHeight);
  if (static_cast<uint32_t>(textureWidth) == width && static_cast<uint32_t>(textureHeight) == height) {
    glTexImage2D(GL_TEXTURE_2D, 0, 3, textureWidth, textureHeight, 0, GL_RGB, GL_UNSIGNED_BYTE, pixels);
  } else {
    const std::vector<uint8_t> scaled = ScaleRgbLikeGlu(pixels, width, height, static_cast<uint32_t>(textureWidth),
                                                        static_cast<uint32_t>(textureHeight));
    glTexImage2D(GL_TEXTURE_2D, 0, 3, textureWidth, textureHeight, 0, GL_RGB, GL_UNSIGNED_BYTE, scaled.data());
  }
  return texture;
}

uint32_t CreateSnapshotTexture(const std::string& path, ProcessServices& services) {
  const std::optional<SnapshotBitmap> bitmap = ReadBitmapFile(path, services);
  if (!bitmap) {
    services.ShowMessageBox("Loading Textures", "Unable to load " + path);
    services.ExitProcess(1);
  }
  return UploadSnapshotTexture(bitmap->width, bitmap->height, bitmap->pixels.data());
}

uint32_t CreateSnapshotTextureIfReadable(const std::string& path, ProcessServices& services) {
  SilentServices silent(services);
  const std::optional<SnapshotBitmap> bitmap = ReadBitmapFile(path, silent);
  if (!bitmap) return 0;
  return UploadSnapshotTexture(bitmap->width, bitmap->height, bitmap->pixels.data());
}

}  // namespace vellora::renderer
