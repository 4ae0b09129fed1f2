#include "controls/button_gradient.h"

#include <cstdio>

namespace vellora::shell {

const char kGradientWhite[] = "&HFFFFFF";
const char kGradientLavender[] = "&HC6C5D7";

namespace {

// The value of "&H" hexadecimal text; none for anything else.
std::optional<uint32_t> HexValue(const std::string& text) {
  if (text.size() < 3 || text.size() > 10 || text[0] != '&' || (text[1] != 'H' && text[1] != 'h')) return std::nullopt;
  uint32_t value = 0;
  for (size_t i = 2; i < text.size(); ++i) {
    const char c = text[i];
    int digit;
    if (c >= '0' && c <= '9') digit = c - '0';
    else if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    else if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    else return std::nullopt;
    value = value << 4 | static_cast<uint32_t>(digit);
  }
  return value;
}

}  // namespace

std::optional<VertexColour> VertexColourFromText(const std::string& text) {
  const std::optional<uint32_t> value = HexValue(text);
  if (!value) return std::nullopt;
  char digits[16];
  std::snprintf(digits, sizeof digits, "%X", *value);
  const std::string written = digits;
  if (written.size() < 6) return std::nullopt;
  // Each pair of digits becomes "&H" + pair + "00": the pair is the channel's high byte.
  const auto channel = [&](size_t first) {
    return static_cast<uint16_t>(*HexValue("&H" + written.substr(first, 2) + "00"));
  };
  return VertexColour{channel(0), channel(2), channel(4), 0};
}

void FillFaceGradient(Canvas& canvas, bool inverted) {
  const std::optional<VertexColour> white = VertexColourFromText(kGradientWhite);
  const std::optional<VertexColour> lavender = VertexColourFromText(kGradientLavender);
  if (!white || !lavender) return;
  const VertexColour& top = inverted ? *lavender : *white;
  const VertexColour& bottom = inverted ? *white : *lavender;
  const auto rgb = [](const VertexColour& v) {
    return Rgb{static_cast<uint8_t>(v.red >> 8), static_cast<uint8_t>(v.green >> 8), static_cast<uint8_t>(v.blue >> 8)};
  };
  // Vertex 0 at (0, 0), vertex 1 at (width - 1, height - 1); the fill stops short of vertex 1.
  canvas.FillVerticalGradient({0, 0, canvas.Width() - 1, canvas.Height() - 1}, rgb(top), rgb(bottom));
}

}  // namespace vellora::shell
