// A windowless label: text in a font and colour over its container's picture (transparent
// background), left-aligned or centred, optionally sized to its text, optionally framed.
#pragma once

#include "runtime/control.h"

namespace vellora::shell {

class Label final : public Control {
 public:
  enum class Alignment { Left, Centre };

  Label(std::string name, int index) : Control(ControlKind::Label, std::move(name), index) {}

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  void SetFont(const FontSpec& font) { font_ = font; }
  void SetForeColour(Rgb colour) { foreColour_ = colour; }
  void SetAlignment(Alignment alignment) { alignment_ = alignment; }
  // Sized to its text whenever the caption changes.
  void SetAutoSize(bool autoSize) { autoSize_ = autoSize; }
  void SetBorder(bool border) { border_ = border; }
  const FontSpec& Font() const { return font_; }

  void Paint(Canvas& canvas) override;
  void AttachTo(Container& parent) override;

 private:
  void FitToText();

  std::string caption_;
  FontSpec font_;
  Rgb foreColour_{0, 0, 0};
  Alignment alignment_ = Alignment::Left;
  bool autoSize_ = false;
  bool border_ = false;
};

}  // namespace vellora::shell
