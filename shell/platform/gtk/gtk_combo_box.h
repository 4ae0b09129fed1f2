// The editable drop-down combo box: a GtkComboBoxText with an entry, placed in a window's
// layout. Its look is made compact (no minimum height, thin padding) so that it fits the
// small sizes forms give it, and it takes the form's font.
#pragma once

#include <gtk/gtk.h>

#include <functional>
#include <string>

#include "platform/forms_platform.h"

namespace vellora::shell {

class GtkPlatformComboBox final : public PlatformComboBox {
 public:
  GtkPlatformComboBox(GtkLayout* parent, double dotsPerInch, std::function<void()> onTextChanged);
  ~GtkPlatformComboBox() override;
  GtkPlatformComboBox(const GtkPlatformComboBox&) = delete;
  GtkPlatformComboBox& operator=(const GtkPlatformComboBox&) = delete;

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
  static void OnEntryChanged(GtkEditable*, gpointer self);
  static gboolean NotifyChange(gpointer self);
  static void OnDestroyed(GtkWidget*, gpointer self);

  GtkWidget* parent_;
  GtkWidget* combo_;
  GtkWidget* entry_;
  GtkCssProvider* style_;
  double dotsPerInch_;
  std::string name_;  // the widget name the style sheet selects
  std::function<void()> onTextChanged_;
  bool settingText_ = false;
  guint pendingChange_ = 0;  // the idle call that sends the change notice
};

}  // namespace vellora::shell
