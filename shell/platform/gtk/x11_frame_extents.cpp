#include "platform/gtk/x11_frame_extents.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <chrono>
#include <thread>
#include <vector>

#include "platform/gtk/x11_error_trap.h"

namespace vellora::shell {
namespace {

// A property of 32-bit items (CARDINAL, WINDOW or ATOM); empty when the window lacks it.
std::vector<long> LongsProperty(Display* display, Window window, const char* name, Atom type) {
  Atom actualType = None;
  int actualFormat = 0;
  unsigned long count = 0, remaining = 0;
  unsigned char* data = nullptr;
  std::vector<long> items;
  if (XGetWindowProperty(display, window, XInternAtom(display, name, False), 0, 4096, False, type, &actualType,
                         &actualFormat, &count, &remaining, &data) == Success &&
      actualType == type && actualFormat == 32 && data) {
    const auto* values = reinterpret_cast<const long*>(data);
    items.assign(values, values + count);
  }
  if (data) XFree(data);
  return items;
}

// True when an EWMH window manager runs and lists the request among what it supports: its
// check window names itself, so a stale root property left by an ended manager does not count.
bool ManagerOffersFrameRequest(Display* display) {
  const Window root = DefaultRootWindow(display);
  const std::vector<long> check = LongsProperty(display, root, "_NET_SUPPORTING_WM_CHECK", XA_WINDOW);
  if (check.size() != 1) return false;
  const std::vector<long> self =
      LongsProperty(display, static_cast<Window>(check[0]), "_NET_SUPPORTING_WM_CHECK", XA_WINDOW);
  if (self.size() != 1 || self[0] != check[0]) return false;
  const long request = static_cast<long>(XInternAtom(display, "_NET_REQUEST_FRAME_EXTENTS", False));
  for (long atom : LongsProperty(display, root, "_NET_SUPPORTED", XA_ATOM))
    if (atom == request) return true;
  return false;
}

}  // namespace

bool X11ReportedFrame(_XDisplay* display, unsigned long window, PixelMargins& frame) {
  X11ErrorTrap trap(display);
  const std::vector<long> extents = LongsProperty(display, window, "_NET_FRAME_EXTENTS", XA_CARDINAL);
  if (!trap.Succeeded() || extents.size() != 4) return false;
  frame = {static_cast<int32_t>(extents[0]), static_cast<int32_t>(extents[2]), static_cast<int32_t>(extents[1]),
           static_cast<int32_t>(extents[3])};  // the property's order: left, right, top, bottom
  return true;
}

bool X11RequestFrame(_XDisplay* display, unsigned long window, int waitMs, PixelMargins& frame) {
  if (X11ReportedFrame(display, window, frame)) return true;
  {
    X11ErrorTrap trap(display);
    if (!ManagerOffersFrameRequest(display)) return false;
    XEvent request{};
    request.xclient.type = ClientMessage;
    request.xclient.window = window;
    request.xclient.message_type = XInternAtom(display, "_NET_REQUEST_FRAME_EXTENTS", False);
    request.xclient.format = 32;
    XSendEvent(display, DefaultRootWindow(display), False, SubstructureRedirectMask | SubstructureNotifyMask,
               &request);
    if (!trap.Succeeded()) return false;
  }
  // The manager answers by setting the property; it is read again until it is there. Reading
  // leaves GDK's event queue alone.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
  for (;;) {
    if (X11ReportedFrame(display, window, frame)) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

}  // namespace vellora::shell
