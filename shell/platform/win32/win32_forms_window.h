// A native window of the forms backend: a top-level form or a child window (picture panel,
// user control) that shows the canvas last presented to it and reports input to its owner.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/forms_platform.h"
#include "platform/win32/win32_forms_icon.h"
#include "platform/win32/win32_forms_system.h"

namespace vellora::shell {

class Win32Window final : public PlatformWindow {
 public:
  // Registers the one window class of forms; the windows below need it.
  static bool RegisterWindowClass(HINSTANCE instance);
  // The dialog-style keys of a message about to be dispatched: Tab and Shift+Tab pressed in
  // any window inside a form go to that form. True when the form took the key, and the
  // message is then not dispatched.
  static bool RouteTabKey(const MSG& message);

  // Creates the window hidden; Created() tells whether the system made it.
  Win32Window(HINSTANCE instance, const WindowOptions& options, WindowEvents& events);
  ~Win32Window() override;
  Win32Window(const Win32Window&) = delete;
  Win32Window& operator=(const Win32Window&) = delete;

  bool Created() const { return window_ != nullptr; }

  NativeWindow Handle() const override;
  void SetTitle(const std::string& title) override;
  void Move(PixelPoint position, PixelSize clientSize) override;
  PixelRect ScreenRect() const override;
  // The window's frame as the system reports it for its styles, hidden or shown.
  PixelMargins FrameMargins() const override;
  PixelSize ClientSize() const override;
  void SetVisible(bool visible) override;
  void Present(const Canvas& picture) override;
  void SetFocus() override;
  bool HasFocus() const override;
  bool AdoptInto(NativeWindow foreignParent) override;
  // The system's answer: the deepest visible window under the point is this one.
  bool IsWindowAtPoint(PixelPoint screenPoint) const override;

 private:
  static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void Paint();
  void MouseButton(UINT message, WPARAM wParam, LPARAM lParam);

  HWND window_ = nullptr;
  WindowEvents& events_;
  Rgb background_;
  // The presented canvas as the rows of a top-down 24-bit bitmap.
  std::vector<uint8_t> picture_;
  int32_t pictureWidth_ = 0;
  int32_t pictureHeight_ = 0;
  // Events reach the owner only once the constructor has finished.
  bool reporting_ = false;
  // Only a change of the client size is reported: the size the window was made with is known.
  PixelSize reportedSize_;
  // Destroyed after the window, which shows it until then.
  Win32WindowIcon icon_;
};

}  // namespace vellora::shell
