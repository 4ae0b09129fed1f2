// A picture panel: a child window with a retained picture of its own and controls inside.
#pragma once

#include "runtime/container.h"
#include "runtime/control.h"

namespace vellora::shell {

class PicturePanel final : public Control, public Container {
 public:
  PicturePanel(FormsPlatform& platform, std::string name, int index)
      : Control(ControlKind::PicturePanel, std::move(name), index), Container(platform) {}

  bool Windowless() const override { return false; }
  void SetBounds(const TwipsRect& bounds) override;
  void SetVisible(bool visible) override;

  // Runs after the panel's picture has been sized to a new client area.
  std::function<void()> onResize;

  void ContainerWindowCreated() override;
  void ContainerWindowDestroyed() override { DropWindow(); }
  void OnResized(PixelSize client) override;
  void OnMouseDown(int button, int shift, PixelPoint where) override { Container::OnMouseDown(button, shift, where); }
};

}  // namespace vellora::shell
