#include "x11_render_platform.h"

#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <cstring>
#include <thread>

#include "platform/posix/posix_folder_probes.h"
#include "platform/x11/x11_monitors.h"
#include "x11_error_handler.h"
#include "x11_message_box.h"
#include "x11_window_properties.h"

namespace vellora::renderer {
namespace {

// The X server's connection, tried again for a moment when the server turned it away for the
// moment only (its queue of new connections full while other clients connect at once): a
// screensaver started then must not end at once. No server at all fails at once.
Display* OpenDisplay() {
  for (int attempt = 0;; ++attempt) {
    errno = 0;
    if (Display* display = XOpenDisplay(nullptr)) return display;
    const bool passing = errno == EAGAIN || errno == ECONNRESET || errno == EINTR;
    if (!passing || attempt == 40) return nullptr;
    std::this_thread::sleep_for(std::chrono::milliseconds(25));
  }
}

// The testing aid's offset: a plain decimal number of milliseconds, or nothing.
uint64_t ClockAheadFromEnvironment() {
  const char* text = std::getenv("VELLORA_TEST_CLOCK_AHEAD_MS");
  if (text == nullptr || *text < '0' || *text > '9') return 0;
  char* end = nullptr;
  errno = 0;
  const unsigned long long value = std::strtoull(text, &end, 10);
  return errno == 0 && *end == '\0' ? value : 0;
}

// A Wayland compositor runs the X server (XWayland) the renderer talks to.
bool UnderWaylandCompositor() {
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  return wayland != nullptr && *wayland != '\0';
}

}  // namespace

X11RenderPlatform::X11RenderPlatform()
    : clockAheadMs_(ClockAheadFromEnvironment()), pointerKnown_(!UnderWaylandCompositor()) {
  InstallX11ErrorHandler();
}

X11RenderPlatform::~X11RenderPlatform() {
  if (display_ != nullptr) XCloseDisplay(display_);
}

void X11RenderPlatform::ShowMessageBox(const std::string& caption, const std::string& text) {
  std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
  if (display_ != nullptr) {
    // Kept above the full-screen render window by a window manager.
    ShowX11MessageBox(display_, caption, text, window_);
    return;
  }
  if (Display* own = OpenDisplay()) {
    ShowX11MessageBox(own, caption, text, 0);
    XCloseDisplay(own);
  }
}

void X11RenderPlatform::ExitProcess(int code) {
  if (display_ != nullptr) XFlush(display_);
  std::_Exit(code);
}

std::string X11RenderPlatform::ExecutableFolder() {
  char path[4096];
  const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
  if (n <= 0) return "./";
  const std::string exe(path, static_cast<size_t>(n));
  return exe.substr(0, exe.rfind('/') + 1);
}

DataFolderProbes& X11RenderPlatform::FolderProbes() {
  static PosixFolderProbes probes;
  return probes;
}

bool X11RenderPlatform::RegisterWindowClass() {
  if (display_ == nullptr) display_ = OpenDisplay();
  return display_ != nullptr;
}

void X11RenderPlatform::UnregisterWindowClass() {
  if (display_ == nullptr) return;
  XCloseDisplay(display_);
  display_ = nullptr;
}

ScreenMetrics X11RenderPlatform::QueryScreenMetrics() {
  // The primary monitor takes the place of the screen: a maximised window without decorations
  // covers it, and X windows carry no caption. With one monitor that is the whole X screen.
  const MonitorRect primary = X11Monitors(display_).front();
  return {primary.width, primary.height, 0, primary.left, primary.top};
}

std::vector<MonitorRect> X11RenderPlatform::Monitors() { return X11Monitors(display_); }

bool X11RenderPlatform::CreateRenderWindow(const std::string& title, int32_t x, int32_t y, int32_t width,
                                           int32_t height, WindowEventHandler& handler) {
  const int screen = DefaultScreen(display_);
  int attributes[] = {GLX_RGBA, GLX_DOUBLEBUFFER, GLX_RED_SIZE, 1, GLX_GREEN_SIZE, 1, GLX_BLUE_SIZE, 1,
                      GLX_DEPTH_SIZE, 16, None};
  visual_ = glXChooseVisual(display_, screen, attributes);
  if (visual_ == nullptr || width <= 0 || height <= 0) return false;

  colormap_ = XCreateColormap(display_, RootWindow(display_, screen), visual_->visual, AllocNone);
  window_ = CreateBorderlessWindow(title, x, y, width, height);
  if (window_ == 0) return false;
  windowWidth_ = width;
  windowHeight_ = height;
  handler_ = &handler;

  WindowEvent created;
  created.kind = WindowEvent::Kind::Create;
  handler.RenderWindowProc(created);
  return true;
}

Window X11RenderPlatform::CreateBorderlessWindow(const std::string& title, int32_t x, int32_t y, int32_t width,
                                                 int32_t height) {
  XSetWindowAttributes set{};
  set.colormap = colormap_;
  set.background_pixel = 0;
  set.border_pixel = 0;
  set.event_mask = KeyPressMask | KeyReleaseMask | StructureNotifyMask | ExposureMask | FocusChangeMask |
                   (pointerKnown_ ? NoEventMask : PointerMotionMask);
  const Window window = XCreateWindow(display_, RootWindow(display_, visual_->screen), x, y,
                                      static_cast<unsigned>(width), static_cast<unsigned>(height), 0, visual_->depth,
                                      InputOutput, visual_->visual,
                                      CWColormap | CWBackPixel | CWBorderPixel | CWEventMask, &set);
  if (window == 0) return 0;
  SetX11WindowTitle(display_, window, title);
  XClassHint classHint{const_cast<char*>("Vellora.data"), const_cast<char*>("OpenGL")};
  XSetClassHint(display_, window, &classHint);
  XSizeHints sizeHints{};
  sizeHints.flags = USPosition | USSize | PPosition | PSize;
  sizeHints.x = x;
  sizeHints.y = y;
  sizeHints.width = width;
  sizeHints.height = height;
  XSetWMNormalHints(display_, window, &sizeHints);
  RequestBorderlessFullScreen(display_, window);
  if (wmDeleteWindow_ == 0) {
    wmProtocols_ = XInternAtom(display_, "WM_PROTOCOLS", False);
    wmDeleteWindow_ = XInternAtom(display_, "WM_DELETE_WINDOW", False);
  }
  XSetWMProtocols(display_, window, &wmDeleteWindow_, 1);
  return window;
}

void X11RenderPlatform::DestroyRenderWindow() {
  XDestroyWindow(display_, window_);
  window_ = 0;
  if (colormap_ != 0) XFreeColormap(display_, colormap_);
  colormap_ = 0;
  if (blankCursor_ != 0) XFreeCursor(display_, blankCursor_);
  blankCursor_ = 0;
  if (visual_ != nullptr) XFree(visual_);
  visual_ = nullptr;
  XFlush(display_);
}

bool X11RenderPlatform::AcquireDeviceContext() {
  hasDrawable_ = window_ != 0;
  return hasDrawable_;
}

int X11RenderPlatform::ChoosePixelFormat() { return visual_ != nullptr ? static_cast<int>(visual_->visualid) : 0; }

bool X11RenderPlatform::SetPixelFormat(int format) {
  return visual_ != nullptr && format == static_cast<int>(visual_->visualid);
}

bool X11RenderPlatform::CreateGLContext() {
  context_ = glXCreateContext(display_, visual_, nullptr, True);
  return context_ != nullptr;
}

bool X11RenderPlatform::MakeContextCurrent() {
  if (!glXMakeCurrent(display_, window_, context_)) return false;
  // Pacing comes from the buffer swap, so ask it to wait for the display.
  if (!swapIntervalAsked_) RequestSwapInterval(window_, 1);
  swapIntervalAsked_ = true;
  return true;
}

bool X11RenderPlatform::MakeRenderContextCurrent() { return glXMakeCurrent(display_, window_, context_); }

void X11RenderPlatform::RequestSwapInterval(Window window, int interval) {
  using SwapIntervalExt = void (*)(Display*, GLXDrawable, int);
  using SwapIntervalMesa = int (*)(unsigned);
  const char* extensions = glXQueryExtensionsString(display_, DefaultScreen(display_));
  if (extensions == nullptr) return;
  if (std::strstr(extensions, "GLX_EXT_swap_control") != nullptr) {
    if (auto fn = reinterpret_cast<SwapIntervalExt>(
            glXGetProcAddress(reinterpret_cast<const GLubyte*>("glXSwapIntervalEXT"))))
      fn(display_, window, interval);
  } else if (std::strstr(extensions, "GLX_MESA_swap_control") != nullptr) {
    if (auto fn = reinterpret_cast<SwapIntervalMesa>(
            glXGetProcAddress(reinterpret_cast<const GLubyte*>("glXSwapIntervalMESA"))))
      fn(static_cast<unsigned>(interval));
  }
}

bool X11RenderPlatform::DetachContext() { return glXMakeCurrent(display_, None, nullptr); }

void X11RenderPlatform::DeleteGLContext() {
  if (context_ != nullptr) glXDestroyContext(display_, context_);
  context_ = nullptr;
}

void X11RenderPlatform::StartTimer(uint32_t id, uint32_t intervalMs) {
  timerId_ = id;
  timerInterval_ = intervalMs;
  timerDue_ = MonotonicMs() + intervalMs;
}

void X11RenderPlatform::ShowAndFocusWindow() {
  MapAndFocus(display_, window_, /*fullScreen=*/true);
  // Errors of the start arrive by now; from here on the window is up.
  XSync(display_, False);
  SetX11Phase(X11Phase::Running);
}

void X11RenderPlatform::SetWindowTitle(const std::string& title) {
  SetX11WindowTitle(display_, window_, title);
  XFlush(display_);
}

PumpResult X11RenderPlatform::PumpOneMessage() {
  if (quitPosted_) {
    quitPosted_ = false;
    return PumpResult::Quit;
  }
  if (XPending(display_) > 0) {
    XEvent event;
    XNextEvent(display_, &event);
    Dispatch(event);
    return PumpResult::Dispatched;
  }
  // Timer ticks, like the system's, come only when nothing else is waiting.
  if (timerInterval_ != 0 && MonotonicMs() >= timerDue_) {
    timerDue_ = MonotonicMs() + timerInterval_;
    WindowEvent tick;
    tick.kind = WindowEvent::Kind::Timer;
    tick.timerId = timerId_;
    handler_->RenderWindowProc(tick);
    return PumpResult::Dispatched;
  }
  return PumpResult::QueueEmpty;
}

void X11RenderPlatform::Dispatch(const XEvent& event) {
  if (event.type == MotionNotify) {
    pointerKnown_ = true;  // see CursorPosition
    return;
  }
  WindowEventHandler* handler = event.xany.window == window_ ? handler_ : nullptr;
  int* width = &windowWidth_;
  int* height = &windowHeight_;
  for (EventTarget& target : monitorWindows_) {
    if (target.window != event.xany.window) continue;
    handler = target.handler;
    width = &target.width;
    height = &target.height;
  }
  if (handler == nullptr) return;
  WindowEvent out;
  switch (event.type) {
    case KeyPress:
    case KeyRelease: {
      XKeyEvent key = event.xkey;
      out.kind = event.type == KeyPress ? WindowEvent::Kind::KeyDown : WindowEvent::Kind::KeyUp;
      out.key = VirtualKeyFromKeySym(XLookupKeysym(&key, 0));
      break;
    }
    case ConfigureNotify:
      if (event.xconfigure.width == *width && event.xconfigure.height == *height) return;
      *width = event.xconfigure.width;
      *height = event.xconfigure.height;
      out.kind = WindowEvent::Kind::Size;
      out.width = static_cast<uint32_t>(*width) & 0xFFFF;
      out.height = static_cast<uint32_t>(*height) & 0xFFFF;
      break;
    case ClientMessage:
      if (event.xclient.message_type != wmProtocols_ ||
          static_cast<Atom>(event.xclient.data.l[0]) != wmDeleteWindow_)
        return;
      out.kind = WindowEvent::Kind::Close;
      break;
    default:
      return;
  }
  handler->RenderWindowProc(out);
}

void X11RenderPlatform::SwapBuffers() { glXSwapBuffers(display_, window_); }

std::optional<ScreenPoint> X11RenderPlatform::CursorPosition() {
  // Under a Wayland compositor XWayland knows where the pointer is only while it lies over one
  // of its windows, and until then tells where the pointer last left one (or the screen's
  // centre). The compositor tells it as our window comes up under the pointer: the pointer
  // then jumps there with a motion event, which is no move of the user's. Any motion event
  // over our windows, that one or the user's own, means that the position is the pointer's.
  if (!pointerKnown_) return std::nullopt;
  Window root = 0, child = 0;
  int rootX = 0, rootY = 0, winX = 0, winY = 0;
  unsigned mask = 0;
  XQueryPointer(display_, DefaultRootWindow(display_), &root, &child, &rootX, &rootY, &winX, &winY, &mask);
  return ScreenPoint{rootX, rootY};
}

void X11RenderPlatform::ShowCursor(bool show) {
  if (window_ == 0) return;
  cursorHidden_ = !show;
  if (!show && blankCursor_ == 0) {
    const char empty[1] = {0};
    const Pixmap pixmap = XCreateBitmapFromData(display_, window_, empty, 1, 1);
    XColor black{};
    blankCursor_ = XCreatePixmapCursor(display_, pixmap, pixmap, &black, &black, 0, 0);
    XFreePixmap(display_, pixmap);
  }
  ApplyCursor(window_);
  for (const EventTarget& target : monitorWindows_) ApplyCursor(target.window);
  XFlush(display_);
}

void X11RenderPlatform::ApplyCursor(Window window) {
  if (cursorHidden_) XDefineCursor(display_, window, blankCursor_);
  else XUndefineCursor(display_, window);
}

// A monitor window shares the render window's connection, visual and colormap; its context is
// its own, so that its viewport and texture never disturb the render window's.
class X11RenderPlatform::X11MonitorWindow final : public MonitorWindow {
 public:
  X11MonitorWindow(X11RenderPlatform& platform, Window window, GLXContext context)
      : platform_(platform), window_(window), context_(context) {}
  ~X11MonitorWindow() override {
    Display* display = platform_.display_;
    if (glXGetCurrentContext() == context_) glXMakeCurrent(display, None, nullptr);
    glXDestroyContext(display, context_);
    XDestroyWindow(display, window_);
    platform_.Forget(window_);
    XFlush(display);
  }
  bool MakeContextCurrent() override { return glXMakeCurrent(platform_.display_, window_, context_); }
  void SwapBuffers() override { glXSwapBuffers(platform_.display_, window_); }

 private:
  X11RenderPlatform& platform_;
  Window window_;
  GLXContext context_;
};

std::unique_ptr<MonitorWindow> X11RenderPlatform::OpenMonitorWindow(const std::string& title, const MonitorRect& area,
                                                                     WindowEventHandler& handler) {
  if (visual_ == nullptr || area.width <= 0 || area.height <= 0) return nullptr;
  const Window window = CreateBorderlessWindow(title, area.left, area.top, area.width, area.height);
  if (window == 0) return nullptr;
  const GLXContext context = glXCreateContext(display_, visual_, nullptr, True);
  if (context == nullptr) {
    XDestroyWindow(display_, window);
    return nullptr;
  }
  monitorWindows_.push_back({window, &handler, area.width, area.height});
  ApplyCursor(window);
  // A Wayland compositor puts a managed window on the focused output whatever its position,
  // and there it took the full screen from the render window (sway keeps one full-screen
  // window per workspace). Left to itself instead, the window lies over its own monitor.
  const bool placedByItself = UnderWaylandCompositor();
  if (placedByItself) {
    XSetWindowAttributes unmanaged{};
    unmanaged.override_redirect = True;
    XChangeWindowAttributes(display_, window, CWOverrideRedirect, &unmanaged);
  }
  MapRaised(display_, window, /*fullScreen=*/!placedByItself);

  auto monitorWindow = std::make_unique<X11MonitorWindow>(*this, window, context);
  if (!monitorWindow->MakeContextCurrent()) return nullptr;
  // Only the render window's swap waits for the display: waiting at every window's swap would
  // divide the frame rate by the number of monitors.
  RequestSwapInterval(window, 0);
  WindowEvent created;
  created.kind = WindowEvent::Kind::Create;
  handler.RenderWindowProc(created);
  return monitorWindow;
}

void X11RenderPlatform::Forget(Window window) {
  for (auto it = monitorWindows_.begin(); it != monitorWindows_.end(); ++it) {
    if (it->window != window) continue;
    monitorWindows_.erase(it);
    return;
  }
}

uint64_t X11RenderPlatform::MonotonicMs() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<uint64_t>(now.tv_sec) * 1000u + static_cast<uint64_t>(now.tv_nsec) / 1000000u;
}

uint64_t X11RenderPlatform::TickCount() {
  const uint64_t now = MonotonicMs();
  if (!clockRead_) {
    clockRead_ = true;
    return now;
  }
  return now + clockAheadMs_;
}

}  // namespace vellora::renderer
