#include "platform/win32/win32_forms_combo_box.h"

#include <algorithm>
#include <vector>

#include "platform/win32/win32_forms_font.h"
#include "platform/win32/win32_forms_text.h"

namespace vellora::shell {
namespace {

// The control's height covers its drop-down list too; this many items show when it opens.
constexpr int kListItems = 8;

}  // namespace

Win32ComboBox::Win32ComboBox(HINSTANCE instance, HWND parent, std::function<void()> onTextChanged)
    : onTextChanged_(std::move(onTextChanged)) {
  control_ = ::CreateWindowExW(0, L"COMBOBOX", L"",
                               WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL,
                               0, 0, 0, 0, parent, nullptr, instance, nullptr);
  if (control_ == nullptr) return;
  ::SetWindowLongPtrW(control_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetFont(FontSpec{});
}

Win32ComboBox::~Win32ComboBox() {
  // The control is gone already when its parent window was destroyed first.
  if (control_ != nullptr && ::IsWindow(control_)) {
    ::SetWindowLongPtrW(control_, GWLP_USERDATA, 0);
    ::DestroyWindow(control_);
  }
  if (font_ != nullptr) ::DeleteObject(font_);
}

void Win32ComboBox::ForwardNotification(HWND control, WORD code) {
  auto* self = reinterpret_cast<Win32ComboBox*>(::GetWindowLongPtrW(control, GWLP_USERDATA));
  if (self != nullptr && self->control_ == control) self->OnNotification(code);
}

void Win32ComboBox::OnNotification(WORD code) {
  if (code == CBN_SELCHANGE) {
    // The edit field takes the chosen item only after this notification; it is put there now
    // so that the handler reads the new text.
    const LRESULT index = ::SendMessageW(control_, CB_GETCURSEL, 0, 0);
    if (index == CB_ERR) return;
    const LRESULT length = ::SendMessageW(control_, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == CB_ERR) return;
    std::vector<wchar_t> item(static_cast<size_t>(length) + 1, L'\0');
    ::SendMessageW(control_, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(item.data()));
    ::SetWindowTextW(control_, item.data());
  } else if (code != CBN_EDITCHANGE) {
    return;
  }
  if (onTextChanged_) onTextChanged_();
}

void Win32ComboBox::Move(PixelPoint position, PixelSize size) {
  if (control_ == nullptr) return;
  const int itemHeight = static_cast<int>(::SendMessageW(control_, CB_GETITEMHEIGHT, 0, 0));
  const int height = std::max(size.height, 0) + kListItems * std::max(itemHeight, 1) + 2;
  ::MoveWindow(control_, position.x, position.y, std::max(size.width, 0), height, TRUE);
}

void Win32ComboBox::SetText(const std::string& text) {
  if (control_ != nullptr) ::SetWindowTextW(control_, Utf8ToWide(text).c_str());
}

std::string Win32ComboBox::Text() const {
  if (control_ == nullptr) return std::string();
  const int length = ::GetWindowTextLengthW(control_);
  if (length <= 0) return std::string();
  std::vector<wchar_t> text(static_cast<size_t>(length) + 1, L'\0');
  const int copied = ::GetWindowTextW(control_, text.data(), length + 1);
  return WideToUtf8(text.data(), static_cast<size_t>(std::max(copied, 0)));
}

void Win32ComboBox::AddItem(const std::string& item) {
  if (control_ == nullptr) return;
  const std::wstring wide = Utf8ToWide(item);
  ::SendMessageW(control_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
}

int Win32ComboBox::ItemCount() const {
  if (control_ == nullptr) return 0;
  const LRESULT count = ::SendMessageW(control_, CB_GETCOUNT, 0, 0);
  return count == CB_ERR ? 0 : static_cast<int>(count);
}

void Win32ComboBox::SetEnabled(bool enabled) {
  if (control_ != nullptr) ::EnableWindow(control_, enabled ? TRUE : FALSE);
}

void Win32ComboBox::SetFont(const FontSpec& font) {
  if (control_ == nullptr) return;
  HFONT created = CreateFontFromSpec(font);
  if (created == nullptr) return;
  ::SendMessageW(control_, WM_SETFONT, reinterpret_cast<WPARAM>(created), TRUE);
  if (font_ != nullptr) ::DeleteObject(font_);
  font_ = created;
}

void Win32ComboBox::SetFocus() {
  if (control_ != nullptr) ::SetFocus(control_);  // the box passes it on to its edit field
}

bool Win32ComboBox::HasFocus() const {
  const HWND focus = ::GetFocus();
  return control_ != nullptr && focus != nullptr && (focus == control_ || ::IsChild(control_, focus));
}

}  // namespace vellora::shell
