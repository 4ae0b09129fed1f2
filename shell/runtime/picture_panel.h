// A picture panel: a child window with a retained picture of its own and controls inside.
#pragma once

#include <functional>

#include "runtime/child_window_control.h"

namespace vellora::shell {

class PicturePanel final : public ChildWindowControl {
 public:
  PicturePanel(FormsPlatform& platform, std::string name, int index)
      : ChildWindowControl(platform, ControlKind::PicturePanel, std::move(name), index) {}

  // Runs after the panel's picture has been sized to a new client area.
  std::function<void()> onResize;

 private:
  void ClientResized() override {
    if (onResize) onResize();
  }
};

}  // namespace vellora::shell
