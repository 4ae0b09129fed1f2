// A control with a native child window of its own inside its container: a retained picture,
// controls of its own, and a place in twips that moves the window.
#pragma once

#include "runtime/container.h"
#include "runtime/control.h"

namespace vellora::shell {

class ChildWindowControl : public Control, public Container {
 public:
  ChildWindowControl(FormsPlatform& platform, ControlKind kind, std::string name, int index)
      : Control(kind, std::move(name), index), Container(platform) {}

  bool Windowless() const override { return false; }
  void SetBounds(const TwipsRect& bounds) override;
  void SetVisible(bool visible) override;
  bool HasFocus() const override { return Window() != nullptr && Window()->HasFocus(); }
  void TakeFocus() override {
    if (Window() != nullptr) Window()->SetFocus();
  }

  void ContainerWindowCreated() override;
  void ContainerWindowDestroyed() override { DropWindow(); }
  void OnResized(PixelSize client) override;

 protected:
  // Runs once the window exists, before it is shown.
  virtual void WindowCreated() {}
  // Runs after the picture has been sized to a new client area, before it is presented.
  virtual void ClientResized() {}
};

}  // namespace vellora::shell
