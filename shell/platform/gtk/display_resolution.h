// The display's resolution and the twips-per-pixel factors that follow from it.
#pragma once

namespace vellora::shell {

constexpr double kDefaultDotsPerInch = 96.0;

// The value of the Xft.dpi resource ("96", "120.5"); 0 when it is absent or not a positive number.
double ParseDpiResource(const char* value);

// Twips (1/1440 inch) per pixel at this resolution: 15 at 96 dpi.
double TwipsPerPixelAt(double dotsPerInch);

}  // namespace vellora::shell
