#include "platform/win32/win32_forms_font.h"

#include <cmath>

#include "platform/win32/win32_forms_text.h"

namespace vellora::shell {

HFONT CreateFontFromSpec(const FontSpec& spec) {
  HDC screen = ::GetDC(nullptr);
  const int dotsPerInch = ::GetDeviceCaps(screen, LOGPIXELSY);
  ::ReleaseDC(nullptr, screen);
  // Points come with fractions (9.75); hundredths keep MulDiv's rounding in whole pixels.
  const int hundredths = static_cast<int>(std::lround(spec.points * 100.0));
  const int height = -::MulDiv(hundredths, dotsPerInch, 72 * 100);
  const std::wstring face = Utf8ToWide(spec.face).substr(0, LF_FACESIZE - 1);
  return ::CreateFontW(height, 0, 0, 0, spec.weight, spec.italic ? TRUE : FALSE, spec.underline ? TRUE : FALSE,
                       FALSE, static_cast<DWORD>(spec.charset), OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                       DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face.c_str());
}

FontCache::~FontCache() {
  for (auto& entry : fonts_) ::DeleteObject(entry.second);
}

HFONT FontCache::Get(const FontSpec& spec) {
  const Key key{spec.face, spec.points, spec.weight, spec.charset, spec.italic, spec.underline};
  const auto found = fonts_.find(key);
  if (found != fonts_.end()) return found->second;
  HFONT font = CreateFontFromSpec(spec);
  if (font != nullptr) fonts_.emplace(key, font);
  return font;
}

}  // namespace vellora::shell
