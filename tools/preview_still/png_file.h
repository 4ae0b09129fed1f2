// Writing a picture as an 8-bit RGB PNG file (zlib deflate, no filtering).
#pragma once

#include <string>

#include "rgb_image.h"

namespace vellora::tools {

// False when the file cannot be written.
bool WritePng(const RgbImage& image, const std::string& path);

}  // namespace vellora::tools
