#include "platform/gtk/gtk_dialogs.h"

#include <algorithm>

#include "platform/gtk/file_filter_patterns.h"
#include "platform/gtk/window_focus.h"

namespace vellora::shell {

namespace {
// GTK sizes the file chooser from its font, which on a small screen can be larger than the
// screen; it is shrunk to fit once GTK has given it that size.
void FitOnScreen(GtkWidget* dialog, gpointer) {
  GdkDisplay* display = gdk_display_get_default();
  GdkMonitor* monitor = gdk_display_get_primary_monitor(display);
  if (!monitor) monitor = gdk_display_get_monitor(display, 0);
  if (!monitor) return;
  GdkRectangle area{};
  gdk_monitor_get_workarea(monitor, &area);
  if (area.width <= 0 || area.height <= 0) return;
  int width = 0, height = 0;
  gtk_window_get_size(GTK_WINDOW(dialog), &width, &height);
  const int fitWidth = std::min(width, area.width * 9 / 10), fitHeight = std::min(height, area.height * 9 / 10);
  if (fitWidth != width || fitHeight != height) gtk_window_resize(GTK_WINDOW(dialog), fitWidth, fitHeight);
}
}  // namespace

void RunMessageBox(const std::string& text, const std::string& caption) {
  GtkWidget* dialog =
      gtk_message_dialog_new(nullptr, GTK_DIALOG_MODAL, GTK_MESSAGE_OTHER, GTK_BUTTONS_NONE, "%s", text.c_str());
  gtk_window_set_title(GTK_WINDOW(dialog), caption.c_str());
  gtk_window_set_position(GTK_WINDOW(dialog), GTK_WIN_POS_CENTER);
  gtk_dialog_add_button(GTK_DIALOG(dialog), "OK", GTK_RESPONSE_OK);
  gtk_dialog_set_default_response(GTK_DIALOG(dialog), GTK_RESPONSE_OK);
  TakeFocusWhenMapped(GTK_WINDOW(dialog));
  gtk_dialog_run(GTK_DIALOG(dialog));
  gtk_widget_destroy(dialog);
}

bool RunOpenFileDialog(GtkWindow* owner, const std::string& title, const std::string& filterName,
                       const std::string& patterns, std::string& path) {
  GtkWidget* dialog = gtk_file_chooser_dialog_new(title.c_str(), owner, GTK_FILE_CHOOSER_ACTION_OPEN, "_Cancel",
                                                  GTK_RESPONSE_CANCEL, "_Open", GTK_RESPONSE_ACCEPT, nullptr);
  gtk_window_set_modal(GTK_WINDOW(dialog), TRUE);
  // Like the Windows dialog with no initial folder, it opens on the working folder.
  gchar* folder = g_get_current_dir();
  gtk_file_chooser_set_current_folder(GTK_FILE_CHOOSER(dialog), folder);
  g_free(folder);
  g_signal_connect_after(dialog, "map", G_CALLBACK(FitOnScreen), nullptr);
  GtkFileFilter* filter = gtk_file_filter_new();
  gtk_file_filter_set_name(filter, filterName.c_str());
  for (const std::string& pattern : SplitFilterPatterns(patterns))
    gtk_file_filter_add_pattern(filter, CaseInsensitiveGlob(pattern).c_str());
  gtk_file_chooser_add_filter(GTK_FILE_CHOOSER(dialog), filter);
  bool chosen = false;
  if (gtk_dialog_run(GTK_DIALOG(dialog)) == GTK_RESPONSE_ACCEPT) {
    if (gchar* name = gtk_file_chooser_get_filename(GTK_FILE_CHOOSER(dialog))) {
      path = name;
      chosen = true;
      g_free(name);
    }
  }
  gtk_widget_destroy(dialog);
  return chosen;
}

}  // namespace vellora::shell
