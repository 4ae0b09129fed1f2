#include "runtime/label.h"

#include "runtime/container.h"
#include "runtime/text_wrap.h"

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
  TextRenderer& text = platform->Text();
  const PixelRect box = PixelBounds();
  // Text outside the label's box is clipped: draw into a copy of the box and put it back.
  Canvas area(box.Width(), box.Height());
  area.StretchCopy(canvas, box, {0, 0, box.Width(), box.Height()});
  const int32_t inset = border_ ? 2 : 0;
  // A caption wider than the label goes on as many lines as it needs; an auto-sized label is
  // as wide as its caption.
  const auto width = [&](const std::string& line) { return text.Measure(line, font_).width; };
  const std::vector<std::string> lines =
      autoSize_ ? std::vector<std::string>{caption_} : WrapText(caption_, box.Width() - 2 * inset, width);
  const int32_t lineHeight = text.LineAdvance(font_);
  int32_t y = inset;
  for (const std::string& line : lines) {
    if (y >= box.Height()) break;
    const int32_t x = alignment_ == Alignment::Centre ? (box.Width() - width(line)) / 2 : inset;
    text.Draw(area, x, y, line, font_, foreColour_);
    y += lineHeight;
  }
  if (border_) area.FrameRect({0, 0, box.Width(), box.Height()}, {0, 0, 0});
  canvas.Blit(area, box.left, box.top);
}

}  // namespace vellora::shell
