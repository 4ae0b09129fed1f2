// A form's own icon: the picture in the two sizes the system shows (the caption and the task
// switcher), made from a canvas and kept for as long as the window shows it.
#pragma once

#include "platform/forms_platform.h"
#include "platform/win32/win32_forms_system.h"

namespace vellora::shell {

class Win32WindowIcon {
 public:
  Win32WindowIcon() = default;
  ~Win32WindowIcon();
  Win32WindowIcon(const Win32WindowIcon&) = delete;
  Win32WindowIcon& operator=(const Win32WindowIcon&) = delete;

  // Gives the window the picture as its big and small icon (WM_SETICON).
  void Set(HWND window, const Canvas& picture);

 private:
  HICON big_ = nullptr;
  HICON small_ = nullptr;
};

}  // namespace vellora::shell
