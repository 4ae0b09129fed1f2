#include "runtime/control.h"

#include "runtime/container.h"

namespace vellora::shell {

Control::~Control() {
  if (parent_ != nullptr) parent_->Remove(*this);
}

void Control::SetBounds(const TwipsRect& bounds) {
  bounds_ = bounds;
  Invalidate();
}

void Control::SetVisible(bool visible) {
  visible_ = visible;
  Invalidate();
}

void Control::SetEnabled(bool enabled) {
  enabled_ = enabled;
  Invalidate();
}

PixelRect Control::PixelBounds() const {
  if (parent_ == nullptr) return {};
  const double tx = parent_->TwipsPerPixelX(), ty = parent_->TwipsPerPixelY();
  const int32_t left = TwipsToPixels(bounds_.left, tx), top = TwipsToPixels(bounds_.top, ty);
  return {left, top, left + TwipsToPixels(bounds_.width, tx), top + TwipsToPixels(bounds_.height, ty)};
}

void Control::Invalidate() {
  if (parent_ != nullptr && Windowless()) parent_->Refresh();
}

FormsPlatform* Control::Platform() const { return parent_ != nullptr ? &parent_->Platform() : nullptr; }

}  // namespace vellora::shell
