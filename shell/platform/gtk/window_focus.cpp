#include "platform/gtk/window_focus.h"

namespace vellora::shell {
namespace {

gboolean PresentOnMap(GtkWidget* window, GdkEvent*, gpointer) {
  gtk_window_present(GTK_WINDOW(window));
  return FALSE;
}

}  // namespace

void TakeFocusWhenMapped(GtkWindow* window) {
  gtk_widget_add_events(GTK_WIDGET(window), GDK_STRUCTURE_MASK);
  g_signal_connect(window, "map-event", G_CALLBACK(PresentOnMap), nullptr);
}

}  // namespace vellora::shell
