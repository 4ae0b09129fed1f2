#include "platform/win32/win32_forms_text_renderer.h"

#include <algorithm>

#include "platform/canvas.h"
#include "platform/win32/win32_dib_pixels.h"
#include "platform/win32/win32_forms_text.h"

namespace vellora::shell {
namespace {

// Line breaks in the text start new lines; "&" is drawn as it is.
constexpr UINT kTextFormat = DT_LEFT | DT_TOP | DT_NOPREFIX | DT_EXPANDTABS;

// A memory device context with a font selected, released with the object.
class TextContext {
 public:
  explicit TextContext(HFONT font) : dc_(::CreateCompatibleDC(nullptr)) {
    if (dc_ != nullptr && font != nullptr) previousFont_ = ::SelectObject(dc_, font);
  }
  ~TextContext() {
    if (dc_ == nullptr) return;
    if (previousFont_ != nullptr) ::SelectObject(dc_, previousFont_);
    ::DeleteDC(dc_);
  }
  TextContext(const TextContext&) = delete;
  TextContext& operator=(const TextContext&) = delete;

  HDC get() const { return dc_; }

  // The size of the text's box: the widest line by the number of lines.
  SIZE Measure(const std::wstring& text) const {
    RECT box{0, 0, 0, 0};
    ::DrawTextW(dc_, text.c_str(), static_cast<int>(text.size()), &box, kTextFormat | DT_CALCRECT);
    return {box.right - box.left, box.bottom - box.top};
  }

 private:
  HDC dc_;
  HGDIOBJ previousFont_ = nullptr;
};

}  // namespace

PixelSize Win32TextRenderer::Measure(const std::string& text, const FontSpec& font) {
  TextContext context(fonts_.Get(font));
  if (context.get() == nullptr) return {};
  const SIZE size = context.Measure(Utf8ToWide(text));
  return {size.cx, size.cy};
}

void Win32TextRenderer::Draw(Canvas& canvas, int32_t x, int32_t y, const std::string& text, const FontSpec& font,
                             Rgb colour) {
  if (text.empty() || canvas.Empty()) return;
  const std::wstring wide = Utf8ToWide(text);
  TextContext context(fonts_.Get(font));
  if (context.get() == nullptr) return;
  const SIZE box = context.Measure(wide);
  const int32_t width = box.cx, height = box.cy;

  // The box plus a margin for glyphs that reach beyond it (italics, overhangs), inside the canvas.
  const int32_t margin = height / 2 + 2;
  const PixelRect region{std::max(x - margin, 0), std::max(y - margin, 0), std::min(x + width + margin, canvas.Width()),
                         std::min(y + height + margin, canvas.Height())};
  if (region.Width() <= 0 || region.Height() <= 0) return;

  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = region.Width();
  info.bmiHeader.biHeight = -region.Height();  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = ::CreateDIBSection(context.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap == nullptr || bits == nullptr) return;
  CanvasRegionToDib32(canvas, region, static_cast<uint8_t*>(bits));

  HGDIOBJ previousBitmap = ::SelectObject(context.get(), bitmap);
  ::SetBkMode(context.get(), TRANSPARENT);
  ::SetTextColor(context.get(), RGB(colour.r, colour.g, colour.b));
  RECT where{x - region.left, y - region.top, x - region.left + width, y - region.top + height};
  ::DrawTextW(context.get(), wide.c_str(), static_cast<int>(wide.size()), &where, kTextFormat | DT_NOCLIP);
  ::GdiFlush();
  Dib32ToCanvasRegion(static_cast<const uint8_t*>(bits), region, canvas);

  ::SelectObject(context.get(), previousBitmap);
  ::DeleteObject(bitmap);
}

}  // namespace vellora::shell
