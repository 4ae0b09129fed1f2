#include "platform/gtk/deferred_gtk_window.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <algorithm>

namespace vellora::shell {

DeferredGtkWindow::DeferredGtkWindow(_XDisplay* display, const WindowOptions& options, WindowEvents& events,
                                     std::function<void()> bringUpToolkit,
                                     std::function<void(DeferredGtkWindow*)> forget)
    : display_(display),
      bare_(XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0)),
      options_(options),
      events_(events),
      bringUpToolkit_(std::move(bringUpToolkit)),
      forget_(std::move(forget)) {
  // A close request comes as a client message; the window's end, whoever ends it, as
  // DestroyNotify.
  wmProtocols_ = XInternAtom(display, "WM_PROTOCOLS", False);
  wmDeleteWindow_ = XInternAtom(display, "WM_DELETE_WINDOW", False);
  Atom protocols[] = {wmDeleteWindow_};
  XSetWMProtocols(display, bare_, protocols, 1);
  XSelectInput(display, bare_, StructureNotifyMask);
  SetBareTitle();
}

DeferredGtkWindow::~DeferredGtkWindow() {
  if (real_) return;
  forget_(this);
  DestroyBare();
}

void DeferredGtkWindow::DestroyBare() {
  if (bare_ == 0) return;
  // Its own end is no news to the form.
  XSelectInput(display_, bare_, NoEventMask);
  XDestroyWindow(display_, bare_);
  XFlush(display_);
  bare_ = 0;
}

bool DeferredGtkWindow::HandleBareEvent(const _XEvent& event) {
  if (bare_ == 0) return false;
  if (event.type == ClientMessage && event.xclient.window == bare_) {
    if (event.xclient.message_type == wmProtocols_ && static_cast<unsigned long>(event.xclient.data.l[0]) == wmDeleteWindow_)
      events_.OnCloseRequested();
    return true;
  }
  if (event.type == DestroyNotify && event.xdestroywindow.window == bare_) {
    bare_ = 0;
    events_.OnDestroyedFromOutside();
    return true;
  }
  return false;
}

void DeferredGtkWindow::SetBareTitle() {
  // Both title properties, as GTK sets them; sent at once, since another program may look for
  // the title before this one next waits for anything.
  const auto* title = reinterpret_cast<const unsigned char*>(options_.title.c_str());
  const int length = static_cast<int>(options_.title.size());
  const Atom utf8 = XInternAtom(display_, "UTF8_STRING", False);
  const bool ascii = std::all_of(options_.title.begin(), options_.title.end(),
                                 [](char c) { return static_cast<unsigned char>(c) < 0x80; });
  XChangeProperty(display_, bare_, XA_WM_NAME, ascii ? XA_STRING : utf8, 8, PropModeReplace, title, length);
  XChangeProperty(display_, bare_, XInternAtom(display_, "_NET_WM_NAME", False), utf8, 8, PropModeReplace, title,
                  length);
  XFlush(display_);
}

void DeferredGtkWindow::MakeReal(GdkCursor* pointer) {
  if (real_) return;
  real_ = std::make_unique<GtkPlatformWindow>(options_, events_, pointer);
  // The sizes were reported when the form moved: the GTK window starts at the last of them.
  if (position_) real_->Move(*position_, options_.clientSize);
  // The GTK window carries the title now (its constructor sent it); the bare one can go.
  DestroyBare();
  if (presented_) events_.OnPictureLost();
}

GtkPlatformWindow& DeferredGtkWindow::Real() const {
  if (!real_) bringUpToolkit_();
  return *real_;
}

void DeferredGtkWindow::SetTitle(const std::string& title) {
  options_.title = title;
  if (real_) real_->SetTitle(title);
  else SetBareTitle();
}

void DeferredGtkWindow::Move(PixelPoint position, PixelSize clientSize) {
  if (real_) {
    real_->Move(position, clientSize);
    return;
  }
  const PixelSize size{std::max(clientSize.width, 0), std::max(clientSize.height, 0)};
  position_ = position;
  // As the GTK window does: a new size is reported before the call returns.
  const bool resized = size.width != options_.clientSize.width || size.height != options_.clientSize.height;
  options_.clientSize = size;
  if (resized) events_.OnResized(size);
}

void DeferredGtkWindow::SetVisible(bool visible) {
  if (!visible && !real_) return;  // never shown yet
  Real().SetVisible(visible);
}

void DeferredGtkWindow::Present(const Canvas& picture) {
  if (real_) real_->Present(picture);
  else presented_ = true;
}

GtkPlatformWindow* GtkWindowOf(PlatformWindow* window) {
  if (auto* deferred = dynamic_cast<DeferredGtkWindow*>(window)) return &deferred->Real();
  return dynamic_cast<GtkPlatformWindow*>(window);
}

}  // namespace vellora::shell
