// Windowless image and rectangle-shape controls.
#pragma once

#include "runtime/control.h"

namespace vellora::shell {

// Shows a picture at its own size from the control's top-left corner, clipped to the control.
class ImageControl final : public Control {
 public:
  ImageControl(std::string name, int index) : Control(ControlKind::Image, std::move(name), index) {}
  const Canvas& Picture() const { return picture_; }
  void SetPicture(const Canvas& picture);
  void Paint(Canvas& canvas) override;

 private:
  Canvas picture_;
};

// A one-pixel rectangle frame with a transparent inside.
class ShapeControl final : public Control {
 public:
  ShapeControl(std::string name, int index) : Control(ControlKind::Shape, std::move(name), index) {}
  void SetBorderColour(Rgb colour) { border_ = colour; }
  void Paint(Canvas& canvas) override;

 private:
  Rgb border_{0, 0, 0};
};

}  // namespace vellora::shell
