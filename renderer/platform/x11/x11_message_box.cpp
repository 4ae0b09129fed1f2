#include "x11_message_box.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <algorithm>
#include <clocale>

#include "platform/x11/x11_monitors.h"
#include "x11_window_properties.h"

namespace vellora::renderer {
namespace {

constexpr int kMargin = 20;
constexpr int kButtonWidth = 80;
constexpr int kButtonHeight = 26;

// Text drawing through a font set, so that UTF-8 paths show as they are; core font as fallback.
class BoxFont {
 public:
  explicit BoxFont(Display* display) : display_(display) {
    std::setlocale(LC_CTYPE, "");
    if (XSupportsLocale()) {
      char** missing = nullptr;
      int missingCount = 0;
      char* fallback = nullptr;
      fontSet_ = XCreateFontSet(display, "-*-*-medium-r-normal--14-*-*-*-*-*-*-*,fixed", &missing,
                                &missingCount, &fallback);
      if (missing != nullptr) XFreeStringList(missing);
    }
    if (fontSet_ == nullptr) font_ = XLoadQueryFont(display, "fixed");
  }
  ~BoxFont() {
    if (fontSet_ != nullptr) XFreeFontSet(display_, fontSet_);
    if (font_ != nullptr) XFreeFont(display_, font_);
  }
  bool Usable() const { return fontSet_ != nullptr || font_ != nullptr; }
  int Width(const std::string& s) const {
    if (fontSet_ != nullptr) {
      XRectangle ink{}, logical{};
      Xutf8TextExtents(fontSet_, s.data(), static_cast<int>(s.size()), &ink, &logical);
      return logical.width;
    }
    return XTextWidth(font_, s.data(), static_cast<int>(s.size()));
  }
  int Ascent() const {
    if (fontSet_ != nullptr) return -XExtentsOfFontSet(fontSet_)->max_logical_extent.y;
    return font_->ascent;
  }
  int Height() const {
    if (fontSet_ != nullptr) return XExtentsOfFontSet(fontSet_)->max_logical_extent.height;
    return font_->ascent + font_->descent;
  }
  void Draw(Window window, GC gc, int x, int y, const std::string& s) const {
    if (fontSet_ != nullptr) {
      Xutf8DrawString(display_, window, fontSet_, gc, x, y, s.data(), static_cast<int>(s.size()));
    } else {
      XSetFont(display_, gc, font_->fid);
      XDrawString(display_, window, gc, x, y, s.data(), static_cast<int>(s.size()));
    }
  }

 private:
  Display* display_;
  XFontSet fontSet_ = nullptr;
  XFontStruct* font_ = nullptr;
};

struct BoxLayout {
  int width, height;
  int textX, textY;
  XRectangle button;
};

BoxLayout LayOut(const BoxFont& font, const std::string& text, int screenWidth) {
  BoxLayout layout{};
  layout.width = std::clamp(font.Width(text) + 2 * kMargin, 240, std::max(240, screenWidth - 40));
  layout.height = kMargin + font.Height() + kMargin + kButtonHeight + kMargin / 2;
  layout.textX = kMargin;
  layout.textY = kMargin + font.Ascent();
  layout.button = {static_cast<short>((layout.width - kButtonWidth) / 2),
                   static_cast<short>(layout.height - kButtonHeight - kMargin / 2),
                   static_cast<unsigned short>(kButtonWidth), static_cast<unsigned short>(kButtonHeight)};
  return layout;
}

void Paint(Display* display, Window window, GC gc, const BoxFont& font, const BoxLayout& layout,
           const std::string& text) {
  const int screen = DefaultScreen(display);
  XClearWindow(display, window);
  XSetForeground(display, gc, BlackPixel(display, screen));
  font.Draw(window, gc, layout.textX, layout.textY, text);
  const XRectangle& b = layout.button;
  XDrawRectangle(display, window, gc, b.x, b.y, b.width, b.height);
  const std::string ok = "OK";
  font.Draw(window, gc, b.x + (b.width - font.Width(ok)) / 2, b.y + (b.height + font.Ascent()) / 2 - 1, ok);
  XFlush(display);
}

bool Inside(const XRectangle& r, int x, int y) {
  return x >= r.x && y >= r.y && x < r.x + r.width && y < r.y + r.height;
}

// Takes only the box's own events; the render window's stay queued for later.
Bool IsEventFor(Display*, XEvent* event, XPointer window) {
  return event->xany.window == *reinterpret_cast<Window*>(window);
}

}  // namespace

bool ShowX11MessageBox(Display* display, const std::string& caption, const std::string& text, Window owner) {
  BoxFont font(display);
  if (!font.Usable()) return false;
  // Centred on the primary monitor, the one the render window covers.
  const vellora::MonitorRect primary = vellora::X11Monitors(display).front();
  const BoxLayout layout = LayOut(font, text, primary.width);

  const int screen = DefaultScreen(display);
  const Window root = RootWindow(display, screen);
  const int x = primary.left + (primary.width - layout.width) / 2;
  const int y = primary.top + (primary.height - layout.height) / 2;
  const Window box = XCreateSimpleWindow(display, root, x, y, static_cast<unsigned>(layout.width),
                                         static_cast<unsigned>(layout.height), 1, BlackPixel(display, screen),
                                         0xF0F0F0);
  XSelectInput(display, box, ExposureMask | KeyPressMask | ButtonPressMask | ButtonReleaseMask | StructureNotifyMask);
  SetX11WindowTitle(display, box, caption);
  const Atom windowType = XInternAtom(display, "_NET_WM_WINDOW_TYPE", False);
  const Atom dialogType = XInternAtom(display, "_NET_WM_WINDOW_TYPE_DIALOG", False);
  XChangeProperty(display, box, windowType, XA_ATOM, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(&dialogType), 1);
  Atom deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
  XSetWMProtocols(display, box, &deleteWindow, 1);
  XSizeHints hints{};
  hints.flags = PPosition | PMinSize | PMaxSize;
  hints.x = x;
  hints.y = y;
  hints.min_width = hints.max_width = layout.width;
  hints.min_height = hints.max_height = layout.height;
  XSetWMNormalHints(display, box, &hints);
  if (owner != 0) XSetTransientForHint(display, box, owner);
  const GC gc = XCreateGC(display, box, 0, nullptr);
  MapAndFocus(display, box, /*fullScreen=*/false);

  bool pressedOnButton = false;
  bool destroyed = false;
  for (bool done = false; !done;) {
    XEvent event;
    XIfEvent(display, &event, IsEventFor, reinterpret_cast<XPointer>(const_cast<Window*>(&box)));
    if (event.type == Expose && event.xexpose.count == 0) {
      Paint(display, box, gc, font, layout, text);
    } else if (event.type == KeyPress) {
      const KeySym sym = XLookupKeysym(&event.xkey, 0);
      done = sym == XK_Return || sym == XK_KP_Enter || sym == XK_Escape || sym == XK_space;
    } else if (event.type == ButtonPress && event.xbutton.button == Button1) {
      pressedOnButton = Inside(layout.button, event.xbutton.x, event.xbutton.y);
    } else if (event.type == ButtonRelease && event.xbutton.button == Button1) {
      done = pressedOnButton && Inside(layout.button, event.xbutton.x, event.xbutton.y);
      pressedOnButton = false;
    } else if (event.type == ClientMessage) {
      done = static_cast<Atom>(event.xclient.data.l[0]) == deleteWindow;
    } else if (event.type == DestroyNotify && event.xdestroywindow.window == box) {
      // Destroyed by another program or a window manager: the box is gone as if OK was
      // pressed, and nothing will come for it any more.
      done = destroyed = true;
    }
  }
  XFreeGC(display, gc);
  if (!destroyed) XDestroyWindow(display, box);
  XFlush(display);
  return true;
}

}  // namespace vellora::renderer
