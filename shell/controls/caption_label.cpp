#include "controls/caption_label.h"

#include <optional>

#include "controls/ole_colour.h"
#include "runtime/twips.h"

namespace vellora::shell {

namespace {
// Disabled text is embossed: a light copy one pixel down and right, the grey text over it.
constexpr Rgb kDisabledLight{0xFF, 0xFF, 0xFF};
constexpr Rgb kDisabledText{0xAC, 0xA8, 0x99};
}  // namespace

bool CaptionLabel::SetForeColour(uint32_t colourValue) {
  if (!ColourValueToRgb(colourValue)) return false;
  foreColour_ = colourValue;
  return true;
}

void CaptionLabel::Place(double left, double top, double width) {
  left_ = left;
  top_ = top;
  width_ = width;
}

void CaptionLabel::Paint(Canvas& canvas, TextRenderer& text, double twipsPerPixelX, double twipsPerPixelY) const {
  const int32_t left = TwipsToPixels(left_, twipsPerPixelX), top = TwipsToPixels(top_, twipsPerPixelY);
  const int32_t width = TwipsToPixels(width_, twipsPerPixelX), height = TwipsToPixels(height_, twipsPerPixelY);
  if (width <= 0 || height <= 0 || caption_.empty()) return;
  // Text outside the label's box is clipped: draw into a copy of the box and put it back.
  Canvas area(width, height);
  area.StretchCopy(canvas, {left, top, left + width, top + height}, {0, 0, width, height});
  const int32_t x = (width - text.Measure(caption_, font_).width) / 2;
  if (enabled_) {
    text.Draw(area, x, 0, caption_, font_, ColourValueToRgb(foreColour_).value_or(Rgb{}));
  } else {
    text.Draw(area, x + 1, 1, caption_, font_, kDisabledLight);
    text.Draw(area, x, 0, caption_, font_, kDisabledText);
  }
  canvas.Blit(area, left, top);
}

}  // namespace vellora::shell
