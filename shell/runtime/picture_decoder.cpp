#include "runtime/picture_decoder.h"

#include <algorithm>
#include <climits>

// stb_image is compiled here, once, for every build (Debian ships the header).
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_ONLY_JPEG
#define STBI_ONLY_BMP
#define STBI_NO_STDIO
#define STBI_MAX_DIMENSIONS 16384
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wimplicit-fallthrough"
#endif
#include <stb/stb_image.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

namespace vellora::shell {

bool DecodePicture(std::string_view bytes, Canvas& picture) {
  if (bytes.empty() || bytes.size() > INT_MAX) return false;
  int width = 0, height = 0, channels = 0;
  stbi_uc* pixels = stbi_load_from_memory(reinterpret_cast<const stbi_uc*>(bytes.data()),
                                          static_cast<int>(bytes.size()), &width, &height, &channels, 3);
  if (pixels == nullptr) return false;
  Canvas decoded(width, height);
  std::copy(pixels, pixels + static_cast<size_t>(width) * height * 3, decoded.Bytes().begin());
  stbi_image_free(pixels);
  picture = std::move(decoded);
  return true;
}

}  // namespace vellora::shell
