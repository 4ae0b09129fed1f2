/* vellora_bench_gtk_poller SECONDS: the waiting reference in the shell's own toolkit. A GTK 3
 * program with one realized, never shown window that reads the pointer with XQueryPointer on
 * GDK's X connection from a 50 ms GLib timer, and does nothing else, for SECONDS. */
#include <gdk/gdkx.h>
#include <gtk/gtk.h>
#include <stdio.h>
#include <stdlib.h>

static long ticks;

static gboolean ReadPointer(gpointer unused) {
  (void)unused;
  Display* display = GDK_DISPLAY_XDISPLAY(gdk_display_get_default());
  Window root, child;
  int rootX, rootY, x, y;
  unsigned mask;
  XQueryPointer(display, DefaultRootWindow(display), &root, &child, &rootX, &rootY, &x, &y, &mask);
  ++ticks;
  return G_SOURCE_CONTINUE;
}

static gboolean Stop(gpointer unused) {
  (void)unused;
  gtk_main_quit();
  return G_SOURCE_REMOVE;
}

int main(int argc, char** argv) {
  if (argc != 2 || !gtk_init_check(&argc, &argv)) {
    fprintf(stderr, "usage: vellora_bench_gtk_poller SECONDS (with a display)\n");
    return 2;
  }
  GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_widget_realize(window);
  g_timeout_add(50, ReadPointer, NULL);
  g_timeout_add((guint)(atof(argv[1]) * 1000), Stop, NULL);
  gtk_main();
  printf("ticks=%ld\n", ticks);
  return 0;
}
