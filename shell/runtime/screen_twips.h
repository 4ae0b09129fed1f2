// The screen's size in twips, the unit in which forms are placed on it.
#pragma once

#include "platform/forms_platform.h"
#include "runtime/twips.h"

namespace vellora::shell {

inline double ScreenWidthTwips(FormsPlatform& platform) {
  return PixelsToTwips(platform.ScreenSize().width, platform.TwipsPerPixelX());
}

inline double ScreenHeightTwips(FormsPlatform& platform) {
  return PixelsToTwips(platform.ScreenSize().height, platform.TwipsPerPixelY());
}

}  // namespace vellora::shell
