// The forms' 32-bit colour values: 0x00BBGGRR for a colour of its own, 0x800000nn for the
// system colour number nn. Anything else is not a colour and fails to be taken.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/forms_platform.h"

namespace vellora::shell {

// The pixel colour of a 32-bit colour value; none when the value is not a colour.
std::optional<Rgb> ColourValueToRgb(uint32_t value);

// The 32-bit colour value of a pixel colour (0x00BBGGRR).
constexpr uint32_t RgbToColourValue(Rgb colour) {
  return uint32_t{colour.r} | uint32_t{colour.g} << 8 | uint32_t{colour.b} << 16;
}

}  // namespace vellora::shell
