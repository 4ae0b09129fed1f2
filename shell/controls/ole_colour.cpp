#include "controls/ole_colour.h"

#include <array>

namespace vellora::shell {
namespace {

// The system colours of the desktop scheme the shell's pictures are drawn for (blue Luna),
// by system colour number (scroll bar 0 to menu bar 30).
constexpr std::array<uint32_t, 31> kSystemColours = {
    0xD4D0C8, 0x004E98, 0x0054E3, 0x7A96DF, 0xFFFFFF, 0xFFFFFF, 0x000000, 0x000000,
    0x000000, 0xFFFFFF, 0xD4D0C8, 0xD4D0C8, 0x808080, 0x316AC5, 0xFFFFFF, 0xECE9D8,
    0xACA899, 0xACA899, 0x000000, 0xD8E4F8, 0xFFFFFF, 0x716F64, 0xF1EFE2, 0x000000,
    0xFFFFE1, 0xB5B5B5, 0x000080, 0x3D95FF, 0x9DB9EB, 0x316AC5, 0xECE9D8,
};

constexpr uint32_t kSystemColourFlag = 0x80000000u;

}  // namespace

std::optional<Rgb> ColourValueToRgb(uint32_t value) {
  if ((value & 0xFF000000u) == 0)
    return Rgb{static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value >> 16)};
  if ((value & 0xFFFFFF00u) == kSystemColourFlag && (value & 0xFF) < kSystemColours.size()) {
    const uint32_t rgb = kSystemColours[value & 0xFF];  // written as 0xRRGGBB above
    return Rgb{static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8), static_cast<uint8_t>(rgb)};
  }
  return std::nullopt;
}

}  // namespace vellora::shell
