#include "controls/state_pictures.h"

#include <array>

#include "runtime/picture_decoder.h"

namespace vellora::shell {

// The catalog of the pictures built into the button's library (see its CMakeLists.txt).
std::string_view CommandPictureBytes(std::string_view name);

const char* StatePictureFile(StatePicture picture) {
  switch (picture) {
    case StatePicture::HighLight: return "HighLight.png";
    case StatePicture::Pressed: return "Pressed.png";
    case StatePicture::Normal: return "Normal.png";
    case StatePicture::Disable: return "Disable.png";
    case StatePicture::HighLightSelect: return "HighLightSelect.png";
    case StatePicture::Selected: return "Selected.png";
  }
  return "";
}

const Canvas& StatePictureCanvas(StatePicture picture) {
  static const std::array<Canvas, 6> pictures = [] {
    std::array<Canvas, 6> decoded;
    for (size_t i = 0; i < decoded.size(); ++i)
      DecodePicture(CommandPictureBytes(StatePictureFile(static_cast<StatePicture>(i))), decoded[i]);
    return decoded;
  }();
  return pictures[static_cast<size_t>(picture)];
}

}  // namespace vellora::shell
