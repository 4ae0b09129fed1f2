// The face of a Command button: a two-colour vertical gradient between white and lavender,
// filled as the platform's gradient fill does it (one rectangle, vertical mode, right and
// bottom ends excluded).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/canvas.h"

namespace vellora::shell {

// A gradient vertex colour: 16-bit channels, the 8-bit colour in the high byte.
struct VertexColour {
  uint16_t red = 0, green = 0, blue = 0, alpha = 0;
};

// The colour written as a number in text ("&HC6C5D7"): the number is written back as
// hexadecimal digits, and digits 1-2, 3-4 and 5-6 become the high bytes of red, green and
// blue. None when the text is not a number or its digits do not make three channels.
std::optional<VertexColour> VertexColourFromText(const std::string& text);

// The two ends of the face: white and "&HC6C5D7".
extern const char kGradientWhite[];
extern const char kGradientLavender[];

// Fills the canvas with the face gradient: white at the top unless inverted, lavender at the
// top when inverted. The last column and row are left as they are.
void FillFaceGradient(Canvas& canvas, bool inverted);

}  // namespace vellora::shell
