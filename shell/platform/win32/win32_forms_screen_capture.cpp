#include "platform/win32/win32_forms_screen_capture.h"

#include "platform/canvas.h"
#include "platform/win32/win32_dib_pixels.h"
#include "platform/win32/win32_forms_system.h"

namespace vellora::shell {
namespace {

// One block copy of width x height pixels from (x, y) of the screen's context into the canvas.
bool CopyScreenBlock(HDC screen, int x, int y, int width, int height, Canvas& into) {
  HDC memory = ::CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = memory != nullptr ? ::CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0) : nullptr;
  bool copied = false;
  if (bitmap != nullptr && bits != nullptr) {
    HGDIOBJ previous = ::SelectObject(memory, bitmap);
    copied = ::BitBlt(memory, 0, 0, width, height, screen, x, y, SRCCOPY) != 0;
    ::GdiFlush();
    if (copied) Dib24ToCanvas(static_cast<const uint8_t*>(bits), width, height, Dib24RowStride(width), into);
    ::SelectObject(memory, previous);
    ::DeleteObject(bitmap);
  }
  if (memory != nullptr) ::DeleteDC(memory);
  return copied;
}

}  // namespace

bool CaptureDesktop(Canvas& into) {
  const int width = ::GetSystemMetrics(SM_CXSCREEN);
  const int height = ::GetSystemMetrics(SM_CYSCREEN);
  into.Resize(width, height);
  if (width <= 0 || height <= 0) return false;

  HWND desktop = ::GetDesktopWindow();
  HDC screen = ::GetDC(desktop);
  if (screen == nullptr) return false;
  const bool copied = CopyScreenBlock(screen, 0, 0, width, height, into);
  ::ReleaseDC(desktop, screen);
  return copied;
}

bool CaptureVirtualScreenArea(PixelRect area, Canvas& into) {
  into.Resize(area.Width(), area.Height());
  if (area.Width() <= 0 || area.Height() <= 0) return false;
  // The context of the whole virtual screen, addressed in virtual-screen coordinates.
  HDC screen = ::GetDC(nullptr);
  if (screen == nullptr) return false;
  const bool copied = CopyScreenBlock(screen, area.left, area.top, area.Width(), area.Height(), into);
  ::ReleaseDC(nullptr, screen);
  return copied;
}

}  // namespace vellora::shell
