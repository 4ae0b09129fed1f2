// A made-up desktop to fly through: a wallpaper gradient, two windows with title bars and a
// few lines of "text", and a task bar with a start button.
#pragma once

#include "rgb_image.h"

namespace vellora::tools {

RgbImage DrawSampleDesktop(int width, int height);

}  // namespace vellora::tools
