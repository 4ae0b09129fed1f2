// Text of labels and captions, laid out by Pango and drawn by cairo into canvases.
#pragma once

#include <pango/pangocairo.h>

#include "platform/forms_platform.h"

namespace vellora::shell {

class PangoTextRenderer final : public TextRenderer {
 public:
  explicit PangoTextRenderer(double dotsPerInch);
  ~PangoTextRenderer() override;
  PangoTextRenderer(const PangoTextRenderer&) = delete;
  PangoTextRenderer& operator=(const PangoTextRenderer&) = delete;

  PixelSize Measure(const std::string& text, const FontSpec& font) override;
  int32_t LineAdvance(const FontSpec& font) override;
  void Draw(Canvas& canvas, int32_t x, int32_t y, const std::string& text, const FontSpec& font,
            Rgb colour) override;

 private:
  // A new layout of the text in the font; the caller releases it.
  PangoLayout* Layout(const std::string& text, const FontSpec& font);

  double dotsPerInch_;
  PangoContext* context_;
};

}  // namespace vellora::shell
