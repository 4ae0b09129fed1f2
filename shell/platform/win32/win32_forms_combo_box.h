// The editable drop-down combo box: the system's COMBOBOX control with an edit field.
#pragma once

#include <functional>

#include "platform/forms_platform.h"
#include "platform/win32/win32_forms_system.h"

namespace vellora::shell {

class Win32ComboBox final : public PlatformComboBox {
 public:
  // Created shown inside the parent; Created() tells whether the system made it.
  Win32ComboBox(HINSTANCE instance, HWND parent, std::function<void()> onTextChanged);
  ~Win32ComboBox() override;
  Win32ComboBox(const Win32ComboBox&) = delete;
  Win32ComboBox& operator=(const Win32ComboBox&) = delete;

  bool Created() const { return control_ != nullptr; }

  // Called by the parent window for the WM_COMMAND notifications of its controls.
  static void ForwardNotification(HWND control, WORD code);

  void Move(PixelPoint position, PixelSize size) override;
  void SetText(const std::string& text) override;
  std::string Text() const override;
  void AddItem(const std::string& item) override;
  int ItemCount() const override;
  void SetEnabled(bool enabled) override;
  void SetFont(const FontSpec& font) override;
  void SetFocus() override;
  bool HasFocus() const override;

 private:
  void OnNotification(WORD code);

  HWND control_ = nullptr;
  HFONT font_ = nullptr;
  std::function<void()> onTextChanged_;
};

}  // namespace vellora::shell
