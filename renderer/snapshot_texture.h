// The desktop snapshot as the scene's one texture.
#pragma once

#include <cstdint>
#include <string>

#include "render_platform.h"

namespace vellora::renderer {

// A new texture name, bound to GL_TEXTURE_2D, with the snapshot's settings: linear filters for
// both magnifying and minifying (no mipmaps) and GL_MODULATE, so that the fog tints it.
uint32_t NewSnapshotTextureName();

// Uploads already decoded pixels (see SnapshotBitmap) as an RGB texture with linear filters and
// GL_MODULATE: the level 0 that gluBuild2DMipmaps would build, sides scaled to powers of two.
// Returns the texture name (see NewSnapshotTextureName), left bound to GL_TEXTURE_2D.
uint32_t UploadSnapshotTexture(uint32_t width, uint32_t height, const uint8_t* pixels);

// Reads the file and uploads it. When the file cannot be used, tells the user
// ("Loading Textures") and ends the process with exit code 1.
uint32_t CreateSnapshotTexture(const std::string& path, ProcessServices& services);

// Reads the file and uploads it as CreateSnapshotTexture does, but tells nobody when it cannot
// be used: it returns 0 then, and no texture is bound.
uint32_t CreateSnapshotTextureIfReadable(const std::string& path, ProcessServices& services);

}  // namespace vellora::renderer
