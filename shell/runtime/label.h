// A windowless label: text in a font and colour over its container's picture (transparent
// background), left-aligned or centred, optionally sized to its text, optionally framed. A
// caption wider than the label is wrapped onto further lines.
#pragma once

#include "runtime/control.h"

namespace vellora::shell {

class Label final : public Control {
 public:
  enum class Alignment { Left, Centre };

  Label(std::string name, int index) : Control(ControlKind::Label, std::move(name), index) {}

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  // Each setter refits an auto-sized label and shows the change, whatever order they come in.
  void SetFont(const FontSpec& font);
  void SetForeColour(Rgb colour);
  void SetAlignment(Alignment alignment);
  // Sized to its text from now on, and whenever its caption or font changes.
  void SetAutoSize(bool autoSize);
  void SetBorder(bool border);
  const FontSpec& Font() const { return font_; }
  Rgb ForeColour() const { return foreColour_; }

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
