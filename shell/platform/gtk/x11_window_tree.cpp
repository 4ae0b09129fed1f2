#include "platform/gtk/x11_window_tree.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>

#include <vector>

#include "platform/gtk/x11_error_trap.h"
#include "platform/gtk/x11_frame_extents.h"

namespace vellora::shell {

namespace {

// A property's bytes, or nothing when the window lacks it (or has vanished).
bool ReadProperty(_XDisplay* display, Window window, Atom property, Atom& type, int& format, std::string& bytes,
                  unsigned long& items) {
  Atom actualType = None;
  int actualFormat = 0;
  unsigned long count = 0, remaining = 0;
  unsigned char* data = nullptr;
  if (XGetWindowProperty(display, window, property, 0, 1 << 16, False, AnyPropertyType, &actualType, &actualFormat,
                         &count, &remaining, &data) != Success) {
    return false;
  }
  const bool present = actualType != None && data;
  if (present) {
    const size_t unit = actualFormat == 8 ? 1 : actualFormat == 16 ? sizeof(short) : sizeof(long);
    bytes.assign(reinterpret_cast<const char*>(data), count * unit);
    type = actualType;
    format = actualFormat;
    items = count;
  }
  if (data) XFree(data);
  return present;
}

std::string Latin1ToUtf8(const std::string& text) {
  std::string utf8;
  for (unsigned char c : text) {
    if (c < 0x80) {
      utf8 += static_cast<char>(c);
    } else {
      utf8 += static_cast<char>(0xC0 | (c >> 6));
      utf8 += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return utf8;
}

// WM_NAME in UTF-8: STRING is Latin-1, UTF8_STRING is taken as it is, COMPOUND_TEXT goes
// through Xlib's converter.
bool WmNameUtf8(_XDisplay* display, Window window, Atom property, Atom utf8String, std::string& name) {
  Atom type = None;
  int format = 0;
  unsigned long items = 0;
  std::string bytes;
  if (!ReadProperty(display, window, property, type, format, bytes, items) || format != 8) return false;
  if (type == XA_STRING) {
    name = Latin1ToUtf8(bytes);
    return true;
  }
  if (type == utf8String) {
    name = bytes;
    return true;
  }
  XTextProperty text{reinterpret_cast<unsigned char*>(bytes.data()), type, format, items};
  char** list = nullptr;
  int count = 0;
  if (Xutf8TextPropertyToTextList(display, &text, &list, &count) < Success || !list) return false;
  name.clear();
  for (int i = 0; i < count; ++i) name += list[i];
  XFreeStringList(list);
  return true;
}

}  // namespace

bool X11FindWindowByTitle(_XDisplay* display, const std::string& title) {
  X11ErrorTrap trap(display);
  const Atom wmName = XInternAtom(display, "WM_NAME", False);
  const Atom netWmName = XInternAtom(display, "_NET_WM_NAME", False);
  const Atom utf8String = XInternAtom(display, "UTF8_STRING", False);
  std::vector<Window> pending;
  for (int screen = 0; screen < ScreenCount(display); ++screen) pending.push_back(RootWindow(display, screen));
  std::string name;
  while (!pending.empty()) {
    const Window window = pending.back();
    pending.pop_back();
    if ((WmNameUtf8(display, window, netWmName, utf8String, name) && name == title) ||
        (WmNameUtf8(display, window, wmName, utf8String, name) && name == title)) {
      return true;
    }
    Window root = None, parent = None, *children = nullptr;
    unsigned int count = 0;
    if (XQueryTree(display, window, &root, &parent, &children, &count) && children) {
      pending.insert(pending.end(), children, children + count);
    }
    if (children) XFree(children);
  }
  return false;
}

bool X11WindowExists(_XDisplay* display, Window window) {
  if (window == None) return false;
  X11ErrorTrap trap(display);
  XWindowAttributes attributes;
  const bool found = XGetWindowAttributes(display, window, &attributes) != 0;
  return trap.Succeeded() && found;
}

bool X11WindowScreenRect(_XDisplay* display, Window window, PixelRect& rect) {
  if (window == None) return false;
  X11ErrorTrap trap(display);
  XWindowAttributes attributes;
  if (!XGetWindowAttributes(display, window, &attributes)) return false;
  int x = 0, y = 0;
  Window child = None;
  if (!XTranslateCoordinates(display, window, attributes.root, 0, 0, &x, &y, &child)) return false;
  rect = {x, y, x + attributes.width, y + attributes.height};
  if (!trap.Succeeded()) return false;
  PixelMargins frame;
  if (X11ReportedFrame(display, window, frame)) {
    rect.left -= frame.left;
    rect.right += frame.right;
    rect.top -= frame.top;
    rect.bottom += frame.bottom;
  }
  return true;
}

}  // namespace vellora::shell
