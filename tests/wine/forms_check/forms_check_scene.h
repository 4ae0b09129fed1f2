// The form that the forms check shows and the script screenshots: a top-level window titled
// "Vellora forms check" with a painted vertical gradient, a Japanese label, an image and a combo
// box. Its input events are reported as facts; a right click opens the open-file dialog, and a
// close request shows a message box and ends the loop.
#pragma once

#include <memory>

#include "platform/forms_platform.h"
#include "runtime/canvas.h"

namespace vellora::shell::forms_check {

class Scene final : public WindowEvents {
 public:
  explicit Scene(FormsPlatform& platform);

  PlatformWindow& Window() { return *window_; }
  // Draws the picture, adds the combo box and reports where everything lies; the window stays hidden.
  void Build();
  // Shows the window, and once it had time to paint, checks it in a copy of the screen.
  void Show();

  void OnMouseDown(int button, int shift, PixelPoint where) override;
  void OnMouseUp(int button, int shift, PixelPoint where) override;
  void OnFocusChanged(bool gained) override;
  void OnCloseRequested() override;

 private:
  void CheckScreenCopy();

  FormsPlatform& platform_;
  std::unique_ptr<PlatformWindow> window_;
  std::unique_ptr<PlatformComboBox> combo_;
  Canvas picture_;
  TimerId settle_ = 0;
};

}  // namespace vellora::shell::forms_check
