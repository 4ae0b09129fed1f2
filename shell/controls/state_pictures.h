// The six state pictures of the Command button (its hidden constituent images), 64 x 25
// pixels each, decoded once from the PNG files built into the program.
#pragma once

#include "platform/canvas.h"

namespace vellora::shell {

enum class StatePicture { HighLight, Pressed, Normal, Disable, HighLightSelect, Selected };

// The picture's file name among the embedded files ("Normal.png", ...).
const char* StatePictureFile(StatePicture picture);

// The decoded picture; an empty canvas when the program carries no such file.
const Canvas& StatePictureCanvas(StatePicture picture);

}  // namespace vellora::shell
