#include "platform/gtk/gtk_forms_platform.h"

#include <gdk/gdkx.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <clocale>
#include <cstdio>
#include <cstdlib>

#include "common/command_arguments.h"
#include "platform/gtk/deferred_gtk_window.h"
#include "platform/gtk/display_resolution.h"
#include "platform/gtk/gtk_combo_box.h"
#include "platform/gtk/gtk_dialogs.h"
#include "platform/gtk/gtk_platform_window.h"
#include "platform/gtk/process_services.h"
#include "platform/gtk/session_end_signals.h"
#include "platform/gtk/x11_error_trap.h"
#include "platform/gtk/x11_event_source.h"
#include "platform/gtk/x11_server_saver.h"
#include "platform/gtk/x11_window_tree.h"
#include "platform/gtk/zoom_animation.h"
#include "platform/posix/posix_number_format.h"
#include "platform/wayland/compositor_capture.h"

namespace vellora::shell {
namespace {

// Why nothing can be shown: said in plain words where a Wayland desktop runs without XWayland,
// also on the screen when the user opened the settings or a preview (a session started on idle
// has nobody in front of it). GTK shows that one box natively on Wayland.
void ReportNoDisplay(bool toUser) {
  const std::string wayland = MissingXWaylandMessage();
  std::fprintf(stderr, "%s\n", wayland.empty() ? "cannot open the X display" : wayland.c_str());
  if (wayland.empty() || !toUser) return;
  gdk_set_allowed_backends("wayland");
  if (!gtk_init_check(nullptr, nullptr)) return;
  GtkWidget* box = gtk_message_dialog_new(nullptr, GTK_DIALOG_MODAL, GTK_MESSAGE_ERROR, GTK_BUTTONS_OK, "%s",
                                          wayland.c_str());
  gtk_window_set_title(GTK_WINDOW(box), "Vellora");
  gtk_dialog_run(GTK_DIALOG(box));
  gtk_widget_destroy(box);
}

// The X connection lost: the server gone, or the shell's client killed by another program (as
// xkill does). Nothing is left to show or undo on that screen, and the music ends with the
// process, so the program ends as at any other ending, with exit code 0. No X call may run
// here, and the handler must not return.
int EndOnLostDisplay(Display*) {
  std::fflush(nullptr);
  _exit(0);
}

// Runs connect until it succeeds; a server that turns the connection away for the moment only
// (its queue of new connections full while other clients connect at once) is asked again for a
// moment, since a screensaver started then must still come up. No server at all fails at once.
bool ConnectAllowingForAMoment(const std::function<bool()>& connect) {
  for (int attempt = 0;; ++attempt) {
    errno = 0;
    if (connect()) return true;
    const bool passing = errno == EAGAIN || errno == ECONNRESET || errno == EINTR;
    if (!passing || attempt == 40) return false;
    g_usleep(25000);
  }
}

// GTK with the user's locale for its texts and input; numbers in the C library keep the full
// stop, as the shell's own conversions and files expect. False when there is no X display. GTK
// opens the display again on each try.
bool StartGtk() {
  if (!ConnectAllowingForAMoment([] { return gtk_init_check(nullptr, nullptr) != FALSE; })) return false;
  XSetIOErrorHandler(EndOnLostDisplay);  // in place of GDK's, which ends with exit code 1
  std::setlocale(LC_NUMERIC, "C");
  return true;
}

}  // namespace

GtkFormsPlatform::GtkFormsPlatform(std::string commandLine, _XDisplay* ownDisplay)
    : commandLine_(std::move(commandLine)),
      ownDisplay_(ownDisplay),
      toolkitUp_(ownDisplay == nullptr),
      // Before GTK is up only the Xft.dpi resource can tell; a session sizes nothing but its
      // hidden form with it, whose size in pixels is the screen's whatever the resolution.
      dotsPerInch_(X11DotsPerInch(XDisplay())),
      text_(dotsPerInch_) {
  if (ownDisplay_ == nullptr) return;
  // A close request to a deferred window, or its destruction by another program.
  ownEvents_ = WatchX11Events(ownDisplay_, [this](XEvent& event) {
    for (DeferredGtkWindow* window : deferredWindows_)
      if (window->HandleBareEvent(event)) return;  // the window may be gone now
  });
}

GtkFormsPlatform::~GtkFormsPlatform() {
  if (ownEvents_ != 0) g_source_remove(ownEvents_);
  if (ownDisplay_ != nullptr) XCloseDisplay(ownDisplay_);
}

_XDisplay* GtkFormsPlatform::XDisplay() const { return ownDisplay_ != nullptr ? ownDisplay_ : X11Display(); }

void GtkFormsPlatform::BringUpToolkit() {
  if (toolkitUp_) return;
  toolkitUp_ = true;
  if (!StartGtk()) {
    // The X connection worked a moment ago; without GTK the session cannot go on.
    std::fprintf(stderr, "cannot open the X display\n");
    EndProcessNow();
  }
  std::vector<DeferredGtkWindow*> windows;
  windows.swap(deferredWindows_);
  for (DeferredGtkWindow* window : windows) window->MakeReal(busyPointer_.Pointer());
}

std::string GtkFormsPlatform::ApplicationFolder() { return RunningProgramFolder(); }

void GtkFormsPlatform::MessageBox(const std::string& text, const std::string& caption) {
  BringUpToolkit();
  RunMessageBox(text, caption);
}

bool GtkFormsPlatform::StartProgram(const std::string& path) {
  // The program's window comes up under the pointer in a moment; see CursorPositionKnown.
  const bool underWayland = UnderWaylandCompositor();
  pointerSettling_ = underWayland;
  pointerFirstLook_.reset();
  // Under a Wayland compositor XWayland sees the pointer only over X windows: once the
  // renderer's full-screen window is gone, no move of the mouse reaches the shell, which
  // would then play on unseen for good. Its end (a move, Escape, a close, a failed start)
  // ends the session there as the end of the desktop session does.
  return SpawnProgram(path, underWayland ? RequestSessionEnd : nullptr);
}

void GtkFormsPlatform::EndProcessNow() {
  if (ownDisplay_ != nullptr) XFlush(ownDisplay_);
  EndProcessImmediately();
}

void GtkFormsPlatform::SetBusyPointer(bool busy) {
  BringUpToolkit();
  busyPointer_.Set(busy);
}

void GtkFormsPlatform::OpenDocument(const std::string& address) { LaunchDefaultApplication(address); }

NumberFormat GtkFormsPlatform::UserNumberFormat() { return LocaleNumberFormat(""); }

PixelSize GtkFormsPlatform::ScreenSize() { return X11ScreenSize(XDisplay()); }

std::vector<PixelRect> GtkFormsPlatform::Monitors() { return X11MonitorRects(XDisplay()); }

double GtkFormsPlatform::TwipsPerPixelX() { return TwipsPerPixelAt(dotsPerInch_); }

double GtkFormsPlatform::TwipsPerPixelY() { return TwipsPerPixelAt(dotsPerInch_); }

bool GtkFormsPlatform::CursorPosition(PixelPoint& where) { return X11PointerPosition(XDisplay(), where); }

bool GtkFormsPlatform::CursorPositionKnown() {
  // Under a Wayland compositor XWayland knows where the pointer is only while it lies over one
  // of its windows, and until then tells where the pointer last left one (or the screen's
  // centre). As the started program's window comes up under the pointer, the compositor tells
  // XWayland, and the position jumps: the first change after the first look is that jump, or
  // the user's first move where XWayland knew already; from then on the position is the
  // pointer's own.
  if (!pointerSettling_) return true;
  PixelPoint now;
  if (!X11PointerPosition(XDisplay(), now)) return false;
  if (!pointerFirstLook_) {
    pointerFirstLook_ = now;
    return false;
  }
  pointerSettling_ = now.x == pointerFirstLook_->x && now.y == pointerFirstLook_->y;
  return !pointerSettling_;
}

void GtkFormsPlatform::ShowCursor(bool show) { cursor_.Show(XDisplay(), show); }

bool GtkFormsPlatform::FindWindowByTitle(const std::string& title) {
  return X11FindWindowByTitle(XDisplay(), title);
}

bool GtkFormsPlatform::WindowScreenRect(NativeWindow window, PixelRect& rect) {
  return X11WindowScreenRect(XDisplay(), static_cast<Window>(window), rect);
}

void GtkFormsPlatform::KeepSystemSaverOff() { HoldX11ServerSaverOff(XDisplay()); }

bool GtkFormsPlatform::CaptureScreen(Canvas& into) {
  // Under a Wayland compositor the X root holds only the X programs' windows: the compositor
  // gives the desktop's picture, and the X root is what is left when it offers no way to.
  switch (CaptureFromCompositor(into)) {
    case CompositorCapture::Captured: return true;
    case CompositorCapture::Failed: return false;
    case CompositorCapture::NotOffered: break;
  }
  return X11CaptureScreen(XDisplay(), into);
}

bool GtkFormsPlatform::CaptureDesktopArea(PixelRect area, Canvas& into) {
  // Under a Wayland compositor the X root holds only the X programs' windows, and the compositor
  // gives the primary output alone (CaptureScreen): no copy of the whole desktop is made.
  if (UnderWaylandCompositor()) {
    into.Resize(area.Width(), area.Height());
    return false;
  }
  return X11CaptureArea(XDisplay(), area, into);
}

void GtkFormsPlatform::ZoomAnimation(NativeWindow, PixelRect from, PixelRect to) {
  X11ZoomAnimation(XDisplay(), from, to);
}

bool GtkFormsPlatform::ChooseOpenFile(PlatformWindow* owner, const std::string& title, const std::string& filterName,
                                      const std::string& patterns, std::string& path) {
  BringUpToolkit();
  GtkPlatformWindow* window = GtkWindowOf(owner);
  return RunOpenFileDialog(window ? window->OwningWindow() : nullptr, title, filterName, patterns, path);
}

std::unique_ptr<PlatformWindow> GtkFormsPlatform::CreateWindow(const WindowOptions& options, WindowEvents& events) {
  if (!toolkitUp_ && options.parent == nullptr) {
    auto window = std::make_unique<DeferredGtkWindow>(
        ownDisplay_, options, events, [this] { BringUpToolkit(); },
        [this](DeferredGtkWindow* gone) {
          deferredWindows_.erase(std::remove(deferredWindows_.begin(), deferredWindows_.end(), gone),
                                 deferredWindows_.end());
        });
    deferredWindows_.push_back(window.get());
    return window;
  }
  BringUpToolkit();
  WindowOptions inside = options;
  if (options.parent != nullptr) inside.parent = GtkWindowOf(options.parent);
  return std::make_unique<GtkPlatformWindow>(inside, events, busyPointer_.Pointer());
}

std::unique_ptr<PlatformComboBox> GtkFormsPlatform::CreateComboBox(PlatformWindow& parent,
                                                                   std::function<void()> onTextChanged) {
  BringUpToolkit();
  GtkPlatformWindow* window = GtkWindowOf(&parent);
  if (!window || !window->Container()) return nullptr;
  return std::make_unique<GtkPlatformComboBox>(window->Container(), dotsPerInch_, std::move(onTextChanged));
}

TimerId GtkFormsPlatform::StartTimer(uint32_t intervalMs, std::function<void()> onTick) {
  return timers_.Start(intervalMs, std::move(onTick));
}

void GtkFormsPlatform::StopTimer(TimerId timer) { timers_.Stop(timer); }

void GtkFormsPlatform::RunLoop() {
  if (toolkitUp_) {
    loops_.push_back(nullptr);
    gtk_main();
  } else {
    // Timers, the child watch and the signal watches are GLib's: a session's loop needs no GTK.
    GMainLoop* loop = g_main_loop_new(nullptr, FALSE);
    loops_.push_back(loop);
    g_main_loop_run(loop);
    g_main_loop_unref(loop);
  }
  loops_.pop_back();
}

void GtkFormsPlatform::QuitLoop() {
  if (loops_.empty()) return;
  if (loops_.back() != nullptr) g_main_loop_quit(loops_.back());
  else gtk_main_quit();
}

void GtkFormsPlatform::WatchSessionEnd(std::function<void()> onEnd) { WatchSessionEndSignals(std::move(onEnd)); }

bool GtkFormsPlatform::SessionEndRequested() { return SessionEndSignalled(); }

std::unique_ptr<FormsPlatform> CreateFormsPlatform(int argc, char** argv, ToolkitStart start) {
  // An end asked for at any moment from here on ends the process with exit code 0, after what
  // the program has to undo by then.
  CatchSessionEndSignals();
  // The backend works with X window ids (other programs' windows, the preview's parent), so
  // GTK must use X11 even under a Wayland session (through Xwayland).
  gdk_set_allowed_backends("x11");
  if (argc > 0 && argv && argv[0]) {
    gchar* name = g_path_get_basename(argv[0]);
    g_set_prgname(name);
    g_free(name);
  }
  // The command line belongs to the shell: GTK is not given it to parse.
  std::string commandLine = JoinArguments(argc, argv);
  if (start == ToolkitStart::WhenNeeded) {
    // GTK's start-up (its settings, theme and accessibility bus, the hidden form's
    // widgets) is left out unless something needs it. The locale is the one GTK would set.
    std::setlocale(LC_ALL, "");
    std::setlocale(LC_NUMERIC, "C");
    _XDisplay* display = nullptr;
    if (!ConnectAllowingForAMoment([&display] { return (display = XOpenDisplay(nullptr)) != nullptr; })) {
      ReportNoDisplay(/*toUser=*/false);
      return nullptr;
    }
    XSetIOErrorHandler(EndOnLostDisplay);
    return std::make_unique<GtkFormsPlatform>(std::move(commandLine), display);
  }
  if (!StartGtk()) {
    ReportNoDisplay(/*toUser=*/true);
    return nullptr;
  }
  return std::make_unique<GtkFormsPlatform>(std::move(commandLine), nullptr);
}

}  // namespace vellora::shell
