// Small X11 helper for the end-to-end tests, for what xdotool cannot do:
//   x11_probe close WINDOW      sends the window manager's close request (WM_DELETE_WINDOW)
//   x11_probe kill WINDOW       kills the X client that owns the window, as xkill does
//   x11_probe cursor            prints "visible" or "hidden" for the pointer's current image
//   x11_probe shape             prints the pointer's current shape as "NAME WxH+HOTX+HOTY"
//                               (NAME "-" for an unnamed one); an animated one keeps it
//   x11_probe move X Y          moves the pointer as a mouse would (XTest)
//   x11_probe where             prints the pointer's screen position as "X Y"
//   x11_probe saver             prints the X server's own screen saver's state: "on", "off" or
//                               "disabled" (MIT-SCREEN-SAVER)
//   x11_probe late_frame_wm     a window manager that maps a window's frame 300 ms after the
//                               window itself, as some real ones do; runs until killed
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xfixes.h>
#include <X11/extensions/scrnsaver.h>

#include <unistd.h>

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

int PrintSaver(Display* display) {
  int eventBase = 0, errorBase = 0;
  if (!XScreenSaverQueryExtension(display, &eventBase, &errorBase)) return 2;
  XScreenSaverInfo* info = XScreenSaverAllocInfo();
  if (info == nullptr || !XScreenSaverQueryInfo(display, DefaultRootWindow(display), info)) return 2;
  std::puts(info->state == ScreenSaverOn ? "on" : info->state == ScreenSaverOff ? "off" : "disabled");
  XFree(info);
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

// Reparents each window that asks to be mapped into a frame of its own, maps the window and
// only then, 300 ms later, the frame: in between the window is mapped but not viewable, so a
// focus request for it fails with BadMatch.
int RunLateFrameWindowManager(Display* display) {
  XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });  // a window may go at any time
  const Window root = DefaultRootWindow(display);
  XSelectInput(display, root, SubstructureRedirectMask | SubstructureNotifyMask);
  XSync(display, False);
  std::puts("ready");
  std::fflush(stdout);
  for (;;) {
    XEvent event;
    XNextEvent(display, &event);
    if (event.type == ConfigureRequest) {
      const XConfigureRequestEvent& request = event.xconfigurerequest;
      XWindowChanges changes{request.x, request.y, request.width, request.height, request.border_width,
                             request.above, request.detail};
      XConfigureWindow(display, request.window, static_cast<unsigned>(request.value_mask), &changes);
    } else if (event.type == MapRequest) {
      const Window client = event.xmaprequest.window;
      XWindowAttributes attributes{};
      if (!XGetWindowAttributes(display, client, &attributes)) continue;
      const Window frame = XCreateSimpleWindow(display, root, attributes.x, attributes.y,
                                               static_cast<unsigned>(attributes.width),
                                               static_cast<unsigned>(attributes.height), 0, 0, 0);
      XReparentWindow(display, client, frame, 0, 0);
      XMapWindow(display, client);
      XSync(display, False);
      usleep(300000);
      XMapWindow(display, frame);
      XSync(display, False);
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) return 2;
  int rc = 2;
  if (argc == 3 && std::strcmp(argv[1], "close") == 0) rc = SendClose(display, std::strtoul(argv[2], nullptr, 0));
  if (argc == 3 && std::strcmp(argv[1], "kill") == 0) {
    XKillClient(display, std::strtoul(argv[2], nullptr, 0));
    rc = 0;
  }
  if (argc == 2 && std::strcmp(argv[1], "cursor") == 0) rc = PrintCursor(display);
  if (argc == 2 && std::strcmp(argv[1], "shape") == 0) rc = PrintCursorShape(display);
  if (argc == 2 && std::strcmp(argv[1], "where") == 0) rc = PrintPointer(display);
  if (argc == 2 && std::strcmp(argv[1], "saver") == 0) rc = PrintSaver(display);
  if (argc == 2 && std::strcmp(argv[1], "late_frame_wm") == 0) rc = RunLateFrameWindowManager(display);
  if (argc == 4 && std::strcmp(argv[1], "move") == 0) rc = MovePointer(display, std::atoi(argv[2]), std::atoi(argv[3]));
  XCloseDisplay(display);
  return rc;
}
