// Decoding stored pictures (PNG, JPEG, BMP) into canvases, the same code on every platform.
#pragma once

#include <string_view>

#include "platform/canvas.h"

namespace vellora::shell {

// False, leaving picture as it was, when the bytes are not a picture stb_image can read.
bool DecodePicture(std::string_view bytes, Canvas& picture);

}  // namespace vellora::shell
