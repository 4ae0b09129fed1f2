#include "platform/gtk/gtk_combo_box.h"

#include <algorithm>
#include <sstream>

#include "platform/gtk/font_mapping.h"

namespace vellora::shell {

namespace {
std::string NextWidgetName() {
  static unsigned counter = 0;
  return "vellora-combo-" + std::to_string(++counter);
}

// CSS strings are quoted; a family name never holds quotes or backslashes, but one that did
// must not break the sheet.
std::string CssQuoted(const std::string& text) {
  std::string quoted = "\"";
  for (char c : text)
    if (c != '"' && c != '\\' && c != '\n') quoted += c;
  return quoted + "\"";
}
}  // namespace

GtkPlatformComboBox::GtkPlatformComboBox(GtkLayout* parent, double dotsPerInch, std::function<void()> onTextChanged)
    : parent_(GTK_WIDGET(parent)),
      combo_(gtk_combo_box_text_new_with_entry()),
      entry_(gtk_bin_get_child(GTK_BIN(combo_))),
      style_(gtk_css_provider_new()),
      dotsPerInch_(dotsPerInch),
      name_(NextWidgetName()),
      onTextChanged_(std::move(onTextChanged)) {
  gtk_widget_set_name(combo_, name_.c_str());
  gtk_entry_set_width_chars(GTK_ENTRY(entry_), 1);  // the width comes from Move alone
  gtk_style_context_add_provider_for_screen(gdk_screen_get_default(), GTK_STYLE_PROVIDER(style_),
                                            GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
  SetFont(FontSpec{});
  g_signal_connect(entry_, "changed", G_CALLBACK(OnEntryChanged), this);
  g_signal_connect(combo_, "destroy", G_CALLBACK(OnDestroyed), this);
  gtk_layout_put(GTK_LAYOUT(parent_), combo_, 0, 0);
  gtk_widget_show_all(combo_);
}

GtkPlatformComboBox::~GtkPlatformComboBox() {
  if (pendingChange_) g_source_remove(pendingChange_);
  if (combo_) {
    g_signal_handlers_disconnect_by_data(entry_, this);
    g_signal_handlers_disconnect_by_data(combo_, this);
    gtk_widget_destroy(combo_);
  }
  gtk_style_context_remove_provider_for_screen(gdk_screen_get_default(), GTK_STYLE_PROVIDER(style_));
  g_object_unref(style_);
}

void GtkPlatformComboBox::Move(PixelPoint position, PixelSize size) {
  if (!combo_) return;
  gtk_layout_move(GTK_LAYOUT(parent_), combo_, position.x, position.y);
  gtk_widget_set_size_request(combo_, std::max(size.width, 1), std::max(size.height, 1));
}

void GtkPlatformComboBox::SetText(const std::string& text) {
  if (!combo_) return;
  // Only the user's edits and choices count as changes, as with the Windows control.
  settingText_ = true;
  gtk_entry_set_text(GTK_ENTRY(entry_), text.c_str());
  settingText_ = false;
}

std::string GtkPlatformComboBox::Text() const { return combo_ ? gtk_entry_get_text(GTK_ENTRY(entry_)) : ""; }

void GtkPlatformComboBox::AddItem(const std::string& item) {
  if (combo_) gtk_combo_box_text_append_text(GTK_COMBO_BOX_TEXT(combo_), item.c_str());
}

int GtkPlatformComboBox::ItemCount() const {
  if (!combo_) return 0;
  return gtk_tree_model_iter_n_children(gtk_combo_box_get_model(GTK_COMBO_BOX(combo_)), nullptr);
}

void GtkPlatformComboBox::SetEnabled(bool enabled) {
  if (combo_) gtk_widget_set_sensitive(combo_, enabled);
}

void GtkPlatformComboBox::SetFont(const FontSpec& font) {
  std::ostringstream css;
  css << "#" << name_ << ", #" << name_ << " * {"
      << " font-family: " << CssQuoted(NativeFontFamily(font.face)) << ";"
      << " font-size: " << FontPixelHeight(font.points, dotsPerInch_) << "px;"
      << " font-weight: " << std::clamp(font.weight > 0 ? font.weight : 400, 100, 900) / 100 * 100 << ";"
      << " font-style: " << (font.italic ? "italic" : "normal") << "; }\n"
      << "#" << name_ << " entry { min-height: 0; padding: 0 2px; }\n"
      << "#" << name_ << " button { min-height: 0; min-width: 0; padding: 0 2px; }\n";
  gtk_css_provider_load_from_data(style_, css.str().c_str(), -1, nullptr);
}

void GtkPlatformComboBox::SetFocus() {
  if (entry_) gtk_widget_grab_focus(entry_);  // selects the text, as tabbing into a box does
}

bool GtkPlatformComboBox::HasFocus() const {
  if (!combo_) return false;
  GtkWidget* top = gtk_widget_get_toplevel(combo_);
  GtkWidget* focus = GTK_IS_WINDOW(top) ? gtk_window_get_focus(GTK_WINDOW(top)) : nullptr;
  return focus && (focus == combo_ || gtk_widget_is_ancestor(focus, combo_));
}

void GtkPlatformComboBox::OnEntryChanged(GtkEditable*, gpointer self) {
  auto* box = static_cast<GtkPlatformComboBox*>(self);
  if (box->settingText_ || !box->onTextChanged_ || box->pendingChange_) return;
  // One edit can change the entry twice (a typed character replacing a selection deletes,
  // then inserts); the notice goes out once, with the final text, as on Windows.
  box->pendingChange_ = g_idle_add_full(G_PRIORITY_HIGH_IDLE, NotifyChange, self, nullptr);
}

gboolean GtkPlatformComboBox::NotifyChange(gpointer self) {
  auto* box = static_cast<GtkPlatformComboBox*>(self);
  box->pendingChange_ = 0;
  if (box->onTextChanged_) box->onTextChanged_();  // may destroy the box: nothing after this
  return G_SOURCE_REMOVE;
}

void GtkPlatformComboBox::OnDestroyed(GtkWidget*, gpointer self) {
  auto* box = static_cast<GtkPlatformComboBox*>(self);
  g_signal_handlers_disconnect_by_data(box->entry_, self);
  g_signal_handlers_disconnect_by_data(box->combo_, self);
  box->combo_ = nullptr;
  box->entry_ = nullptr;
}

}  // namespace vellora::shell
