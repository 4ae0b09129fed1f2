// A stand-in for a program that embeds screensaver previews (as the display settings do): one
// plain magenta window, so that any part of it the preview leaves uncovered shows. Like the
// preview monitor of a settings dialog it is a child of a top-level window of the same size,
// which a window manager frames and places as it likes.
//   host_window WIDTH HEIGHT [X Y]
// Prints the host window's id in decimal once it is viewable, then reads commands on standard
// input:
//   destroy   destroys the host window; the program goes on (prints "destroyed")
// and ends at the end of its input.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
  if (argc != 3 && argc != 5) {
    std::fprintf(stderr, "usage: %s WIDTH HEIGHT [X Y]\n", argv[0]);
    return 2;
  }
  const unsigned width = static_cast<unsigned>(std::atoi(argv[1]));
  const unsigned height = static_cast<unsigned>(std::atoi(argv[2]));
  const int x = argc == 5 ? std::atoi(argv[3]) : 100, y = argc == 5 ? std::atoi(argv[4]) : 100;
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) return 1;

  XColor magenta{};
  magenta.red = 0xffff;
  magenta.blue = 0xffff;
  magenta.flags = DoRed | DoGreen | DoBlue;
  XAllocColor(display, DefaultColormap(display, DefaultScreen(display)), &magenta);
  const Window dialog = XCreateSimpleWindow(display, DefaultRootWindow(display), x, y, width, height, 0, 0, 0);
  XStoreName(display, dialog, "Preview Host Dialog");
  XSizeHints position{};
  position.flags = USPosition;
  position.x = x;
  position.y = y;
  XSetWMNormalHints(display, dialog, &position);
  const Window window = XCreateSimpleWindow(display, dialog, 0, 0, width, height, 0, 0, magenta.pixel);
  XStoreName(display, window, "Preview Host");
  XMapWindow(display, window);
  XSelectInput(display, dialog, StructureNotifyMask);
  XMapWindow(display, dialog);
  for (XEvent event; XWindowEvent(display, dialog, StructureNotifyMask, &event), event.type != MapNotify;) {
  }
  std::printf("%lu\n", static_cast<unsigned long>(window));
  std::fflush(stdout);

  char line[64];
  while (std::fgets(line, sizeof line, stdin) != nullptr) {
    if (std::strncmp(line, "destroy", 7) == 0) {
      XDestroyWindow(display, window);
      XSync(display, False);
      std::puts("destroyed");
      std::fflush(stdout);
    }
  }
  XCloseDisplay(display);
  return 0;
}
