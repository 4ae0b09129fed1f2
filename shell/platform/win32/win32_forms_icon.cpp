#include "platform/win32/win32_forms_icon.h"

#include <cstring>
#include <vector>

#include "platform/win32/win32_dib_pixels.h"

namespace vellora::shell {
namespace {

// An opaque icon of size x size pixels showing the picture.
HICON IconFromCanvas(const Canvas& picture, int size) {
  if (size <= 0) return nullptr;
  const std::vector<uint8_t> pixels = CanvasToIconBgra(picture, size);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = size;
  info.bmiHeader.biHeight = -size;  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP colour = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (colour == nullptr) return nullptr;
  std::memcpy(bits, pixels.data(), pixels.size());
  // An all-clear mask: every pixel shows its colour.
  const std::vector<uint8_t> clear(static_cast<size_t>((size + 15) / 16 * 2) * size, 0);
  HBITMAP mask = ::CreateBitmap(size, size, 1, 1, clear.data());
  ICONINFO icon{};
  icon.fIcon = TRUE;
  icon.hbmMask = mask;
  icon.hbmColor = colour;
  HICON result = mask != nullptr ? ::CreateIconIndirect(&icon) : nullptr;
  if (mask != nullptr) ::DeleteObject(mask);
  ::DeleteObject(colour);
  return result;
}

}  // namespace

Win32WindowIcon::~Win32WindowIcon() {
  if (big_ != nullptr) ::DestroyIcon(big_);
  if (small_ != nullptr) ::DestroyIcon(small_);
}

void Win32WindowIcon::Set(HWND window, const Canvas& picture) {
  HICON big = IconFromCanvas(picture, ::GetSystemMetrics(SM_CXICON));
  HICON small = IconFromCanvas(picture, ::GetSystemMetrics(SM_CXSMICON));
  ::SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
  ::SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
  if (big_ != nullptr) ::DestroyIcon(big_);
  if (small_ != nullptr) ::DestroyIcon(small_);
  big_ = big;
  small_ = small;
}

}  // namespace vellora::shell
