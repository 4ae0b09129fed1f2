// Small X11 helper for the end-to-end tests, for what xdotool cannot do:
//   x11_probe close WINDOW      sends the window manager's close request (WM_DELETE_WINDOW)
//   x11_probe cursor            prints "visible" or "hidden" for the pointer's current image
//   x11_probe shape             prints the pointer's current shape as "NAME WxH+HOTX+HOTY"
//                               (NAME "-" for an unnamed one); an animated one keeps it
//   x11_probe move X Y          moves the pointer as a mouse would (XTest)
//   x11_probe where             prints the pointer's screen position as "X Y"
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xfixes.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

int SendClose(Display* display, Window window) {
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  XSendEvent(display, window, False, NoEventMask, &event);
  XSync(display, False);
  return 0;
}

int PrintCursor(Display* display) {
  int eventBase = 0, errorBase = 0;
  if (!XFixesQueryExtension(display, &eventBase, &errorBase)) return 2;
  XFixesCursorImage* image = XFixesGetCursorImage(display);
  if (image == nullptr) return 2;
  bool visible = false;
  for (unsigned long i = 0; i < static_cast<unsigned long>(image->width) * image->height; ++i)
    visible = visible || (image->pixels[i] >> 24) != 0;
  XFree(image);
  std::puts(visible ? "visible" : "hidden");
  return 0;
}

int PrintCursorShape(Display* display) {
  int eventBase = 0, errorBase = 0;
  if (!XFixesQueryExtension(display, &eventBase, &errorBase)) return 2;
  XFixesCursorImage* image = XFixesGetCursorImage(display);
  if (image == nullptr) return 2;
  std::printf("%s %dx%d+%d+%d\n", image->name && *image->name ? image->name : "-", image->width, image->height,
              image->xhot, image->yhot);
  XFree(image);
  return 0;
}

int MovePointer(Display* display, int x, int y) {
  XTestFakeMotionEvent(display, DefaultScreen(display), x, y, CurrentTime);
  XSync(display, False);
  return 0;
}

int PrintPointer(Display* display) {
  Window root = 0, child = 0;
  int x = 0, y = 0, windowX = 0, windowY = 0;
  unsigned mask = 0;
  XQueryPointer(display, DefaultRootWindow(display), &root, &child, &x, &y, &windowX, &windowY, &mask);
  std::printf("%d %d\n", x, y);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) return 2;
  int rc = 2;
  if (argc == 3 && std::strcmp(argv[1], "close") == 0) rc = SendClose(display, std::strtoul(argv[2], nullptr, 0));
  if (argc == 2 && std::strcmp(argv[1], "cursor") == 0) rc = PrintCursor(display);
  if (argc == 2 && std::strcmp(argv[1], "shape") == 0) rc = PrintCursorShape(display);
  if (argc == 2 && std::strcmp(argv[1], "where") == 0) rc = PrintPointer(display);
  if (argc == 4 && std::strcmp(argv[1], "move") == 0) rc = MovePointer(display, std::atoi(argv[2]), std::atoi(argv[3]));
  XCloseDisplay(display);
  return rc;
}
