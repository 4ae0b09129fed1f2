// The forms platform on Windows: native windows of one registered class, GDI text, the system's
// combo box, window timers and a nestable message loop, and the process services.
#pragma once

#include "platform/forms_platform.h"
#include "platform/win32/win32_forms_message_loop.h"
#include "platform/win32/win32_forms_system.h"
#include "platform/win32/win32_forms_text_renderer.h"

namespace vellora::shell {

class Win32FormsPlatform final : public FormsPlatform {
 public:
  Win32FormsPlatform();

  std::string CommandLine() override;
  std::string ApplicationFolder() override;
  void MessageBox(const std::string& text, const std::string& caption) override;
  bool StartProgram(const std::string& path) override;
  [[noreturn]] void EndProcessNow() override;
  void SetBusyPointer(bool busy) override;
  void OpenDocument(const std::string& address) override;
  NumberFormat UserNumberFormat() override;

  PixelSize ScreenSize() override;
  std::vector<PixelRect> Monitors() override;
  double TwipsPerPixelX() override;
  double TwipsPerPixelY() override;
  bool CursorPosition(PixelPoint& where) override;
  bool CursorPositionKnown() override { return true; }
  void ShowCursor(bool show) override;
  bool FindWindowByTitle(const std::string& title) override;
  bool WindowScreenRect(NativeWindow window, PixelRect& rect) override;
  // The system starts this program as its screen saver: there is no other saver to hold off.
  void KeepSystemSaverOff() override {}
  bool CaptureScreen(Canvas& into) override;
  bool CaptureDesktopArea(PixelRect area, Canvas& into) override;
  void ZoomAnimation(NativeWindow window, PixelRect from, PixelRect to) override;
  bool ChooseOpenFile(PlatformWindow* owner, const std::string& title, const std::string& filterName,
                      const std::string& patterns, std::string& path) override;

  std::unique_ptr<PlatformWindow> CreateWindow(const WindowOptions& options, WindowEvents& events) override;
  std::unique_ptr<PlatformComboBox> CreateComboBox(PlatformWindow& parent,
                                                   std::function<void()> onTextChanged) override;
  TextRenderer& Text() override;

  TimerId StartTimer(uint32_t intervalMs, std::function<void()> onTick) override;
  void StopTimer(TimerId timer) override;

  void RunLoop() override;
  void QuitLoop() override;
  void WatchSessionEnd(std::function<void()> onEnd) override;
  // The end of the Windows session arrives as messages, which only a running loop takes.
  bool SessionEndRequested() override { return false; }

 private:
  HINSTANCE instance_;
  Win32MessageLoop loop_;
  Win32TextRenderer text_;
};

}  // namespace vellora::shell
