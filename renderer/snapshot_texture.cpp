#include "snapshot_texture.h"

#include "bmp_reader.h"
#include "gl_api.h"

namespace vellora::renderer {

uint32_t UploadSnapshotTexture(uint32_t width, uint32_t height, const uint8_t* pixels) {
  GLuint texture = 0;
  glGenTextures(1, &texture);
  glBindTexture(GL_TEXTURE_2D, texture);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  // Rows are padded to 4 bytes, which is the default unpack alignment; GLU scales sides that
  // are not powers of two.
  gluBuild2DMipmaps(GL_TEXTURE_2D, 3, static_cast<GLint>(width), static_cast<GLint>(height), GL_RGB,
                    GL_UNSIGNED_BYTE, pixels);
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

}  // namespace vellora::renderer
