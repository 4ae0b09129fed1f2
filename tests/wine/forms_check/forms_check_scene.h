// The form that the forms check shows: a top-level window titled "Vellora forms check", looked
// up by title from another process while hidden and once shown. Its input events are reported
// as facts; a right click opens the open-file dialog, and a close request shows a message box
// and ends the loop.
#pragma once

#include <memory>

#include "platform/forms_platform.h"

namespace vellora::shell::forms_check {

class Scene final : public WindowEvents {
 public:
  explicit Scene(FormsPlatform& platform);

  PlatformWindow& Window() { return *window_; }
  void Show();

  void OnMouseDown(int button, int shift, PixelPoint where) override;
  void OnMouseUp(int button, int shift, PixelPoint where) override;
  void OnFocusChanged(bool gained) override;
  void OnCloseRequested() override;

 private:
  FormsPlatform& platform_;
  std::unique_ptr<PlatformWindow> window_;
};

}  // namespace vellora::shell::forms_check
