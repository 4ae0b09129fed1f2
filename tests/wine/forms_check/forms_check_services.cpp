#include "forms_check_services.h"

#include <string>
#include <vector>

#include "assets/embedded_assets.h"
#include "forms_check_report.h"
#include "platform/win32/win32_forms_system.h"
#include "platform/win32/win32_forms_text.h"
#include "runtime/picture_decoder.h"

namespace vellora::shell::forms_check {
namespace {

std::string Numbers(std::initializer_list<int> values) {
  std::string text;
  for (int value : values) text += (text.empty() ? "" : " ") + std::to_string(value);
  return text;
}

// An icon's colour pixels as a canvas (its size from the bitmap); empty when it has none.
Canvas IconPicture(HICON icon) {
  Canvas picture;
  ICONINFO info{};
  if (icon == nullptr || !::GetIconInfo(icon, &info)) return picture;
  BITMAP bitmap{};
  if (info.hbmColor != nullptr && ::GetObjectW(info.hbmColor, sizeof bitmap, &bitmap) != 0) {
    BITMAPINFO request{};
    request.bmiHeader.biSize = sizeof request.bmiHeader;
    request.bmiHeader.biWidth = bitmap.bmWidth;
    request.bmiHeader.biHeight = -bitmap.bmHeight;
    request.bmiHeader.biPlanes = 1;
    request.bmiHeader.biBitCount = 32;
    request.bmiHeader.biCompression = BI_RGB;
    std::vector<uint8_t> bgra(static_cast<size_t>(bitmap.bmWidth) * bitmap.bmHeight * 4);
    HDC dc = ::GetDC(nullptr);
    if (::GetDIBits(dc, info.hbmColor, 0, bitmap.bmHeight, bgra.data(), &request, DIB_RGB_COLORS) == bitmap.bmHeight) {
      picture.Resize(bitmap.bmWidth, bitmap.bmHeight);
      for (int32_t i = 0; i < bitmap.bmWidth * bitmap.bmHeight; ++i)
        picture.SetPixel(i % bitmap.bmWidth, i / bitmap.bmWidth, Rgb{bgra[4 * i + 2], bgra[4 * i + 1], bgra[4 * i]});
    }
    ::ReleaseDC(nullptr, dc);
  }
  if (info.hbmColor != nullptr) ::DeleteObject(info.hbmColor);
  if (info.hbmMask != nullptr) ::DeleteObject(info.hbmMask);
  return picture;
}

// The program's icon picture, as the forms carry it.
Canvas ProgramIconPicture() {
  Canvas picture;
  DecodePicture(EmbeddedFileBytes("vellora_icon.png"), picture);
  return picture;
}

bool Near(Rgb a, Rgb b, int tolerance) {
  return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance && std::abs(a.b - b.b) <= tolerance;
}

}  // namespace

void ProbeWindowIcon(FormsPlatform& platform) {
  const Canvas picture = ProgramIconPicture();
  if (!Verdict(picture.Width() == 32 && picture.Height() == 32, "the program's icon picture is 32 x 32")) return;
  WindowEvents events;
  WindowOptions options;
  options.title = "Vellora forms check icon";
  options.frame = FrameStyle::FixedDialog;
  options.clientSize = {100, 50};
  options.icon = &picture;
  std::unique_ptr<PlatformWindow> window = platform.CreateWindow(options, events);
  if (!Verdict(window != nullptr, "a window with an icon is created")) return;
  HWND handle = reinterpret_cast<HWND>(window->Handle());
  const Canvas big = IconPicture(reinterpret_cast<HICON>(::SendMessageW(handle, WM_GETICON, ICON_BIG, 0)));
  const Canvas small = IconPicture(reinterpret_cast<HICON>(::SendMessageW(handle, WM_GETICON, ICON_SMALL, 0)));
  Verdict(big.Width() == 32 && big.Height() == 32 && big.Bytes() == picture.Bytes(),
          "the window's big icon is the picture, pixel for pixel");
  Verdict(small.Width() == 16 && small.Height() == 16 && Near(small.Pixel(8, 8), picture.Pixel(16, 16), 40) &&
              Near(small.Pixel(1, 8), picture.Pixel(2, 16), 40),
          "the window's small icon is the picture at 16 x 16");
}

void ProbeProgramIcons(FormsPlatform& platform) {
  const Canvas picture = ProgramIconPicture();
  for (const char* program : {"Vellora.scr", "Vellora.data"}) {
    const std::wstring path = Utf8ToWide(platform.ApplicationFolder() + "\\" + program);
    if (::GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) continue;
    HICON large = nullptr, small = nullptr;
    const UINT found = ::ExtractIconExW(path.c_str(), 0, &large, &small, 1);
    const Canvas big = IconPicture(large), little = IconPicture(small);
    Fact(std::string("program-icon ") + program, Numbers({static_cast<int>(found), big.Width(), little.Width()}));
    Verdict(big.Width() == 32 && big.Bytes() == picture.Bytes(),
            std::string(program) + " carries the program icon at 32 x 32, as the forms show it");
    Verdict(little.Width() == 16 && Near(little.Pixel(8, 8), picture.Pixel(16, 16), 40),
            std::string(program) + " carries the program icon at 16 x 16");
    if (large != nullptr) ::DestroyIcon(large);
    if (small != nullptr) ::DestroyIcon(small);
  }
}

void ProbeOpenDocument(FormsPlatform& platform) {
  const std::wstring marker = Utf8ToWide(platform.ApplicationFolder() + "\\started.txt");
  ::DeleteFileW(marker.c_str());
  const DWORD before = ::GetTickCount();
  platform.OpenDocument(platform.ApplicationFolder() + "\\forms_check_win32.exe");
  platform.OpenDocument(platform.ApplicationFolder() + "\\no such document.vellora-none");
  Fact("open-document-ms", std::to_string(::GetTickCount() - before));
  std::string content;
  bool written = false;
  TimerId poll = 0;
  int waited = 0;
  poll = platform.StartTimer(50, [&] {
    waited += 50;
    HANDLE file = ::CreateFileW(marker.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      char buffer[256] = {};
      DWORD count = 0;
      ::ReadFile(file, buffer, sizeof buffer - 1, &count, nullptr);
      ::CloseHandle(file);
      content.assign(buffer, count);
      written = content.find('\n') != std::string::npos;
    }
    if (written || waited >= 20000) {
      platform.StopTimer(poll);
      platform.QuitLoop();
    }
  });
  platform.RunLoop();
  Verdict(written && content == "started []\n",
          "opening this program as a document started it without arguments (wrote \"" + content + "\")");
  ::DeleteFileW(marker.c_str());
}

}  // namespace vellora::shell::forms_check
