// An editable drop-down combo box: a native control, whose text, items and enabled state are
// kept here too so they can be set before the form has a window.
#pragma once

#include <memory>
#include <vector>

#include "runtime/control.h"

namespace vellora::shell {

class ComboBox final : public Control {
 public:
  ComboBox(std::string name, int index) : Control(ControlKind::ComboBox, std::move(name), index) {}

  bool Windowless() const override { return false; }
  std::string Text() const;
  void SetText(const std::string& text);
  void AddItem(const std::string& item);
  int ListCount() const { return static_cast<int>(items_.size()); }
  const std::vector<std::string>& Items() const { return items_; }
  void SetEnabled(bool enabled) override;
  void SetBounds(const TwipsRect& bounds) override;
  void SetFont(const FontSpec& font);
  bool HasFocus() const override { return native_ && native_->HasFocus(); }
  void TakeFocus() override {
    if (native_) native_->SetFocus();
  }

  void ContainerWindowCreated() override;
  void ContainerWindowDestroyed() override { native_.reset(); }

 private:
  void Place();

  std::unique_ptr<PlatformComboBox> native_;
  std::string text_;
  std::vector<std::string> items_;
  FontSpec font_;
};

}  // namespace vellora::shell
