#include "platform/win32/win32_forms_platform.h"

#include "platform/win32/win32_forms_busy_pointer.h"
#include "platform/win32/win32_forms_combo_box.h"
#include "platform/win32/win32_forms_file_dialog.h"
#include "platform/win32/win32_forms_process.h"
#include "platform/win32/win32_forms_screen_capture.h"
#include "platform/win32/win32_forms_text.h"
#include "platform/win32/win32_forms_window.h"
#include "platform/win32/win32_monitors.h"
#include "platform/win32/win32_session_end.h"

namespace vellora::shell {
namespace {

HWND WindowOf(NativeWindow window) { return reinterpret_cast<HWND>(static_cast<uintptr_t>(window)); }

RECT RectOf(PixelRect rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }

// Twips (1/1440 inch) per pixel from the screen's dots per inch: 15 at 96 dpi.
double TwipsPerPixel(int capability) {
  HDC screen = ::GetDC(nullptr);
  const int dotsPerInch = ::GetDeviceCaps(screen, capability);
  ::ReleaseDC(nullptr, screen);
  return dotsPerInch > 0 ? 1440.0 / dotsPerInch : 15.0;
}

}  // namespace

Win32FormsPlatform::Win32FormsPlatform() : instance_(::GetModuleHandleW(nullptr)), loop_(instance_) {
  Win32Window::RegisterWindowClass(instance_);
}

std::string Win32FormsPlatform::CommandLine() { return ProcessArguments(); }

std::string Win32FormsPlatform::ApplicationFolder() { return ProcessFolder(); }

void Win32FormsPlatform::MessageBox(const std::string& text, const std::string& caption) {
  // OK only, no icon; owned by the active window of this thread, which waits for it.
  ::MessageBoxW(::GetActiveWindow(), Utf8ToWide(text).c_str(), Utf8ToWide(caption).c_str(), MB_OK);
}

bool Win32FormsPlatform::StartProgram(const std::string& path) { return StartProgramNormally(path); }

void Win32FormsPlatform::EndProcessNow() { ::ExitProcess(0); }

void Win32FormsPlatform::SetBusyPointer(bool busy) { SetApplicationBusy(busy); }

void Win32FormsPlatform::OpenDocument(const std::string& address) { OpenWithShell(address); }

NumberFormat Win32FormsPlatform::UserNumberFormat() {
  // The user's regional settings, the choices made in the control panel included.
  NumberFormat format;
  wchar_t separator[8] = {};
  if (::GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8) > 1)
    format.decimalSeparator = WideToUtf8(std::wstring(separator));
  return format;
}

PixelSize Win32FormsPlatform::ScreenSize() {
  return {::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
}

std::vector<PixelRect> Win32FormsPlatform::Monitors() {
  std::vector<PixelRect> rects;
  for (const MonitorRect& m : Win32Monitors()) rects.push_back({m.left, m.top, m.left + m.width, m.top + m.height});
  return rects;
}

double Win32FormsPlatform::TwipsPerPixelX() { return TwipsPerPixel(LOGPIXELSX); }

double Win32FormsPlatform::TwipsPerPixelY() { return TwipsPerPixel(LOGPIXELSY); }

bool Win32FormsPlatform::CursorPosition(PixelPoint& where) {
  POINT point{};
  if (!::GetCursorPos(&point)) return false;
  where = {point.x, point.y};
  return true;
}

void Win32FormsPlatform::ShowCursor(bool show) { ::ShowCursor(show ? TRUE : FALSE); }

bool Win32FormsPlatform::FindWindowByTitle(const std::string& title) {
  // Hidden top-level windows are found as well; message-only windows are not.
  return ::FindWindowW(nullptr, Utf8ToWide(title).c_str()) != nullptr;
}

bool Win32FormsPlatform::WindowScreenRect(NativeWindow window, PixelRect& rect) {
  RECT screen{};
  if (!::GetWindowRect(WindowOf(window), &screen)) return false;
  rect = {screen.left, screen.top, screen.right, screen.bottom};
  return true;
}

bool Win32FormsPlatform::CaptureScreen(Canvas& into) { return CaptureDesktop(into); }

bool Win32FormsPlatform::CaptureDesktopArea(PixelRect area, Canvas& into) { return CaptureVirtualScreenArea(area, into); }

void Win32FormsPlatform::ZoomAnimation(NativeWindow window, PixelRect from, PixelRect to) {
  const RECT start = RectOf(from), end = RectOf(to);
  ::DrawAnimatedRects(WindowOf(window), IDANI_CAPTION, &start, &end);
}

bool Win32FormsPlatform::ChooseOpenFile(PlatformWindow* owner, const std::string& title, const std::string& filterName,
                                        const std::string& patterns, std::string& path) {
  HWND ownerWindow = owner != nullptr ? WindowOf(owner->Handle()) : nullptr;
  return ShowOpenFileDialog(ownerWindow, title, filterName, patterns, path);
}

std::unique_ptr<PlatformWindow> Win32FormsPlatform::CreateWindow(const WindowOptions& options, WindowEvents& events) {
  auto window = std::make_unique<Win32Window>(instance_, options, events);
  if (!window->Created()) return nullptr;
  return window;
}

std::unique_ptr<PlatformComboBox> Win32FormsPlatform::CreateComboBox(PlatformWindow& parent,
                                                                     std::function<void()> onTextChanged) {
  auto comboBox = std::make_unique<Win32ComboBox>(instance_, WindowOf(parent.Handle()), std::move(onTextChanged));
  if (!comboBox->Created()) return nullptr;
  return comboBox;
}

TextRenderer& Win32FormsPlatform::Text() { return text_; }

TimerId Win32FormsPlatform::StartTimer(uint32_t intervalMs, std::function<void()> onTick) {
  return loop_.StartTimer(intervalMs, std::move(onTick));
}

void Win32FormsPlatform::StopTimer(TimerId timer) { loop_.StopTimer(timer); }

void Win32FormsPlatform::RunLoop() { loop_.Run(); }

void Win32FormsPlatform::QuitLoop() { loop_.Quit(); }

void Win32FormsPlatform::WatchSessionEnd(std::function<void()> onEnd) { SetSessionEndHandler(std::move(onEnd)); }

std::unique_ptr<FormsPlatform> CreateFormsPlatform(int /*argc*/, char** /*argv*/, ToolkitStart /*start*/) {
  return std::make_unique<Win32FormsPlatform>();
}

}  // namespace vellora::shell
