// Fonts of the shell's forms, as found on a Linux desktop.
#pragma once

#include <string>

namespace vellora::shell {

// The fontconfig family that stands in for a Windows font face. The Japanese gothic faces map
// to the IPA fonts, which share their metrics; other faces are passed on for fontconfig to
// match or substitute.
std::string NativeFontFamily(const std::string& face);

// The em height in whole pixels of a font of this many points at this resolution, rounded to
// the nearest pixel as the Windows font mapper does (9.75 points at 96 dpi: 13 pixels).
int FontPixelHeight(double points, double dotsPerInch);

}  // namespace vellora::shell
