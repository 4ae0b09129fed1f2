// Text drawn by GDI into the runtime's canvases: the canvas region under the text goes into a
// 32-bit bitmap, GDI draws the text over it with a transparent background, and the region
// comes back, so that the text blends with what was drawn before.
#pragma once

#include "platform/forms_platform.h"
#include "platform/win32/win32_forms_font.h"

namespace vellora::shell {

class Win32TextRenderer final : public TextRenderer {
 public:
  PixelSize Measure(const std::string& text, const FontSpec& font) override;
  void Draw(Canvas& canvas, int32_t x, int32_t y, const std::string& text, const FontSpec& font,
            Rgb colour) override;

 private:
  FontCache fonts_;
};

}  // namespace vellora::shell
