#include "platform/gtk/gtk_busy_pointer.h"

namespace vellora::shell {

GtkBusyPointer::~GtkBusyPointer() { Set(false); }

void GtkBusyPointer::Set(bool busy) {
  if (busy == (pointer_ != nullptr)) return;
  GdkDisplay* display = gdk_display_get_default();
  if (busy) {
    pointer_ = gdk_cursor_new_from_name(display, "wait");
    if (!pointer_) pointer_ = gdk_cursor_new_for_display(display, GDK_WATCH);
    // Every window of the process, the dialogs and popups included, down to the windows of
    // the controls inside them: a child window with a pointer of its own would show that.
    GList* windows = gtk_window_list_toplevels();
    for (GList* item = windows; item; item = item->next) {
      if (GdkWindow* native = gtk_widget_get_window(GTK_WIDGET(item->data))) Cover(native);
    }
    g_list_free(windows);
  } else {
    for (auto& [window, own] : covered_) {
      // A control that set a pointer of its own meanwhile keeps it.
      if (!gdk_window_is_destroyed(window) && gdk_window_get_cursor(window) == pointer_)
        gdk_window_set_cursor(window, own);
      g_object_unref(window);
      if (own) g_object_unref(own);
    }
    covered_.clear();
    g_object_unref(pointer_);
    pointer_ = nullptr;
  }
  // The pointer has to change now: a busy caller does not return to the loop for a while.
  gdk_display_flush(display);
}

void GtkBusyPointer::Cover(GdkWindow* window) {
  GdkCursor* own = gdk_window_get_cursor(window);
  covered_.emplace_back(GDK_WINDOW(g_object_ref(window)), own ? GDK_CURSOR(g_object_ref(own)) : nullptr);
  gdk_window_set_cursor(window, pointer_);
  GList* children = gdk_window_get_children(window);
  for (GList* child = children; child; child = child->next) Cover(GDK_WINDOW(child->data));
  g_list_free(children);
}

}  // namespace vellora::shell
