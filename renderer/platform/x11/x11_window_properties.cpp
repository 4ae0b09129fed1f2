#include "x11_window_properties.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <poll.h>

#include <chrono>

namespace vellora::renderer {

void SetX11WindowTitle(Display* display, Window window, const std::string& title) {
  XStoreName(display, window, title.c_str());
  const Atom netWmName = XInternAtom(display, "_NET_WM_NAME", False);
  const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
  XChangeProperty(display, window, netWmName, utf8, 8, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(title.data()), static_cast<int>(title.size()));
}

void RequestBorderlessFullScreen(Display* display, Window window) {
  // _MOTIF_WM_HINTS: flags = decorations, decorations = none.
  const long motifHints[5] = {2, 0, 0, 0, 0};
  const Atom motif = XInternAtom(display, "_MOTIF_WM_HINTS", False);
  XChangeProperty(display, window, motif, motif, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(motifHints), 5);
  const Atom state = XInternAtom(display, "_NET_WM_STATE", False);
  const Atom fullScreen = XInternAtom(display, "_NET_WM_STATE_FULLSCREEN", False);
  XChangeProperty(display, window, state, XA_ATOM, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(&fullScreen), 1);
}

namespace {
Bool IsMapNotifyFor(Display*, XEvent* event, XPointer window) {
  return event->type == MapNotify && event->xmap.window == *reinterpret_cast<Window*>(window);
}

// Waits for the window's MapNotify with a deadline: a window manager may hold a map request
// back, and a window destroyed by another client is never mapped at all.
bool WaitForMapNotify(Display* display, Window window, std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  XEvent event;
  while (!XCheckIfEvent(display, &event, IsMapNotifyFor, reinterpret_cast<XPointer>(&window))) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return false;
    pollfd connection{ConnectionNumber(display), POLLIN, 0};
    poll(&connection, 1, static_cast<int>(left.count()));
  }
  return true;
}
}  // namespace

void MapRaised(Display* display, Window window, bool fullScreen) {
  XMapRaised(display, window);
  if (!fullScreen) return;
  // The full-screen state asked for again, now as a request to the window manager: the
  // property set before the map reaches only a manager that reads it at the map, and wlroots
  // (sway and the like) reads it only from changes it was watching for, then writes its own
  // at the map. Under load its watch comes after our change, and the window was tiled instead.
  // The request follows the map request, so every manager has taken the window by then.
  XEvent request{};
  request.xclient.type = ClientMessage;
  request.xclient.window = window;
  request.xclient.message_type = XInternAtom(display, "_NET_WM_STATE", False);
  request.xclient.format = 32;
  request.xclient.data.l[0] = 1;  // _NET_WM_STATE_ADD
  request.xclient.data.l[1] = static_cast<long>(XInternAtom(display, "_NET_WM_STATE_FULLSCREEN", False));
  request.xclient.data.l[3] = 1;  // from a normal program
  XSendEvent(display, DefaultRootWindow(display), False, SubstructureRedirectMask | SubstructureNotifyMask,
             &request);
}

void MapAndFocus(Display* display, Window window, bool fullScreen) {
  MapRaised(display, window, fullScreen);
  WaitForMapNotify(display, window, std::chrono::seconds(2));
  XSetInputFocus(display, window, RevertToParent, CurrentTime);
  XFlush(display);
}

unsigned VirtualKeyFromKeySym(unsigned long keysym) {
  if (keysym >= XK_a && keysym <= XK_z) return static_cast<unsigned>('A' + (keysym - XK_a));
  if (keysym >= XK_A && keysym <= XK_Z) return static_cast<unsigned>(keysym);
  if (keysym >= XK_0 && keysym <= XK_9) return static_cast<unsigned>(keysym);
  if (keysym >= XK_F1 && keysym <= XK_F12) return static_cast<unsigned>(0x70 + (keysym - XK_F1));
  switch (keysym) {
    case XK_Escape: return 0x1B;
    case XK_Return: case XK_KP_Enter: return 0x0D;
    case XK_space: return 0x20;
    case XK_Tab: return 0x09;
    case XK_BackSpace: return 0x08;
    case XK_Left: return 0x25;
    case XK_Up: return 0x26;
    case XK_Right: return 0x27;
    case XK_Down: return 0x28;
    case XK_Shift_L: case XK_Shift_R: return 0x10;
    case XK_Control_L: case XK_Control_R: return 0x11;
    case XK_Alt_L: case XK_Alt_R: return 0x12;
    default: return 0;
  }
}

}  // namespace vellora::renderer
