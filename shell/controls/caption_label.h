// The caption of a Command button (its constituent label LblMsg): text in a font and colour,
// centred across the label's width over a transparent background, greyed when disabled.
// It has no window of its own; the button draws it into its picture when presenting.
#pragma once

#include <cstdint>
#include <string>

#include "platform/canvas.h"
#include "platform/forms_platform.h"

namespace vellora::shell {

class CaptionLabel {
 public:
  // The label as the button's design places it, in twips.
  static constexpr double kDesignLeft = 0, kDesignTop = 90, kDesignWidth = 1635, kDesignHeight = 195;

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption) { caption_ = caption; }
  const FontSpec& Font() const { return font_; }
  void SetFont(const FontSpec& font) { font_ = font; }
  // The text colour as a 32-bit colour value; false, leaving it as it was, for a value
  // that is not a colour.
  uint32_t ForeColour() const { return foreColour_; }
  bool SetForeColour(uint32_t colourValue);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled) { enabled_ = enabled; }

  // Position and width in twips; the height stays as designed.
  void Place(double left, double top, double width);
  double Left() const { return left_; }
  double Top() const { return top_; }
  double Width() const { return width_; }
  double Height() const { return height_; }

  // Draws the caption into the picture of its container, clipped to the label's box.
  void Paint(Canvas& canvas, TextRenderer& text, double twipsPerPixelX, double twipsPerPixelY) const;

 private:
  std::string caption_ = "Command";
  FontSpec font_;
  uint32_t foreColour_ = 0;
  bool enabled_ = true;
  double left_ = kDesignLeft, top_ = kDesignTop, width_ = kDesignWidth, height_ = kDesignHeight;
};

}  // namespace vellora::shell
