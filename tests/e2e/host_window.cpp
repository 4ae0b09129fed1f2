// A stand-in for a program that embeds screensaver previews (as the display settings do): one
// plain magenta window, so that any part of it the preview leaves uncovered shows.
//   host_window WIDTH HEIGHT [X Y]
// Prints the window's id in decimal once it is mapped, then reads commands on standard input:
//   destroy   destroys the window; the program goes on (prints "destroyed")
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
  const Window window = XCreateSimpleWindow(display, DefaultRootWindow(display), x, y, width, height, 0, 0,
                                            magenta.pixel);
  XStoreName(display, window, "Preview Host");
  XSelectInput(display, window, StructureNotifyMask);
  XMapWindow(display, window);
  for (XEvent event; XWindowEvent(display, window, StructureNotifyMask, &event), event.type != MapNotify;) {
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
