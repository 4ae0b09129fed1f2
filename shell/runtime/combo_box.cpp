#include "runtime/combo_box.h"

#include "runtime/container.h"

namespace vellora::shell {

std::string ComboBox::Text() const { return native_ ? native_->Text() : text_; }

void ComboBox::SetText(const std::string& text) {
  text_ = text;
  if (native_) native_->SetText(text);
}

void ComboBox::AddItem(const std::string& item) {
  items_.push_back(item);
  if (native_) native_->AddItem(item);
}

void ComboBox::SetEnabled(bool enabled) {
  Control::SetEnabled(enabled);
  if (native_) native_->SetEnabled(enabled);
}

void ComboBox::SetBounds(const TwipsRect& bounds) {
  Control::SetBounds(bounds);
  Place();
}

void ComboBox::SetFont(const FontSpec& font) {
  font_ = font;
  if (native_) native_->SetFont(font);
}

void ComboBox::Place() {
  if (!native_) return;
  const PixelRect r = PixelBounds();
  native_->Move({r.left, r.top}, {r.Width(), r.Height()});
}

void ComboBox::ContainerWindowCreated() {
  Container* parent = Parent();
  if (parent == nullptr || parent->Window() == nullptr) return;
  native_ = parent->Platform().CreateComboBox(*parent->Window(), [this] { text_ = native_->Text(); });
  if (!native_) return;
  native_->SetFont(font_);
  for (const std::string& item : items_) native_->AddItem(item);
  native_->SetText(text_);
  native_->SetEnabled(Enabled());
  Place();
}

}  // namespace vellora::shell
