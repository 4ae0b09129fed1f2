#include "runtime/label.h"

#include "runtime/container.h"

namespace vellora::shell {

void Label::SetCaption(const std::string& caption) {
  caption_ = caption;
  FitToText();
  Invalidate();
}

void Label::SetFont(const FontSpec& font) {
  font_ = font;
  FitToText();
  Invalidate();
}

void Label::SetForeColour(Rgb colour) {
  foreColour_ = colour;
  Invalidate();
}

void Label::SetAlignment(Alignment alignment) {
  alignment_ = alignment;
  Invalidate();
}

void Label::SetAutoSize(bool autoSize) {
  autoSize_ = autoSize;
  FitToText();
  Invalidate();
}

void Label::SetBorder(bool border) {
  border_ = border;
  Invalidate();
}

void Label::AttachTo(Container& parent) {
  Control::AttachTo(parent);
  FitToText();
}

void Label::FitToText() {
  FormsPlatform* platform = Platform();
  if (!autoSize_ || platform == nullptr) return;
  const PixelSize text = platform->Text().Measure(caption_, font_);
  TwipsRect bounds = Bounds();
  bounds.width = static_cast<int32_t>(PixelsToTwips(text.width, platform->TwipsPerPixelX()));
  bounds.height = static_cast<int32_t>(PixelsToTwips(text.height, platform->TwipsPerPixelY()));
  Control::SetBounds(bounds);
}

void Label::Paint(Canvas& canvas) {
  FormsPlatform* platform = Platform();
  if (platform == nullptr) return;
  const PixelRect box = PixelBounds();
  // Text outside the label's box is clipped: draw into a copy of the box and put it back.
  Canvas area(box.Width(), box.Height());
  area.StretchCopy(canvas, box, {0, 0, box.Width(), box.Height()});
  int32_t x = border_ ? 2 : 0;
  if (alignment_ == Alignment::Centre) x = (box.Width() - platform->Text().Measure(caption_, font_).width) / 2;
  platform->Text().Draw(area, x, border_ ? 2 : 0, caption_, font_, foreColour_);
  if (border_) area.FrameRect({0, 0, box.Width(), box.Height()}, {0, 0, 0});
  canvas.Blit(area, box.left, box.top);
}

}  // namespace vellora::shell
