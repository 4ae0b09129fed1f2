#include "platform/gtk/gtk_forms_platform.h"

#include <gdk/gdkx.h>

#include <cerrno>
#include <clocale>
#include <cstdio>

#include "platform/gtk/display_resolution.h"
#include "platform/gtk/gtk_combo_box.h"
#include "platform/gtk/gtk_dialogs.h"
#include "platform/gtk/gtk_platform_window.h"
#include "platform/gtk/process_services.h"
#include "platform/gtk/process_text.h"
#include "platform/gtk/session_end_signals.h"
#include "platform/gtk/x11_error_trap.h"
#include "platform/gtk/x11_window_tree.h"
#include "platform/gtk/zoom_animation.h"
#include "platform/posix/posix_number_format.h"

namespace vellora::shell {

GtkFormsPlatform::GtkFormsPlatform(int argc, char** argv)
    : commandLine_(JoinArguments(argc, argv)), dotsPerInch_(X11DotsPerInch(X11Display())), text_(dotsPerInch_) {}

GtkFormsPlatform::~GtkFormsPlatform() = default;

std::string GtkFormsPlatform::ApplicationFolder() { return RunningProgramFolder(); }

void GtkFormsPlatform::MessageBox(const std::string& text, const std::string& caption) {
  RunMessageBox(text, caption);
}

bool GtkFormsPlatform::StartProgram(const std::string& path) { return SpawnProgram(path); }

void GtkFormsPlatform::EndProcessNow() { EndProcessImmediately(); }

void GtkFormsPlatform::SetBusyPointer(bool busy) { busyPointer_.Set(busy); }

void GtkFormsPlatform::OpenDocument(const std::string& address) { LaunchDefaultApplication(address); }

NumberFormat GtkFormsPlatform::UserNumberFormat() { return LocaleNumberFormat(""); }

PixelSize GtkFormsPlatform::ScreenSize() { return X11ScreenSize(X11Display()); }

double GtkFormsPlatform::TwipsPerPixelX() { return TwipsPerPixelAt(dotsPerInch_); }

double GtkFormsPlatform::TwipsPerPixelY() { return TwipsPerPixelAt(dotsPerInch_); }

bool GtkFormsPlatform::CursorPosition(PixelPoint& where) { return X11PointerPosition(X11Display(), where); }

void GtkFormsPlatform::ShowCursor(bool show) { cursor_.Show(X11Display(), show); }

bool GtkFormsPlatform::FindWindowByTitle(const std::string& title) {
  return X11FindWindowByTitle(X11Display(), title);
}

bool GtkFormsPlatform::WindowScreenRect(NativeWindow window, PixelRect& rect) {
  return X11WindowScreenRect(X11Display(), static_cast<Window>(window), rect);
}

bool GtkFormsPlatform::CaptureScreen(Canvas& into) { return X11CaptureScreen(into); }

void GtkFormsPlatform::ZoomAnimation(NativeWindow, PixelRect from, PixelRect to) {
  X11ZoomAnimation(X11Display(), from, to);
}

bool GtkFormsPlatform::ChooseOpenFile(PlatformWindow* owner, const std::string& title, const std::string& filterName,
                                      const std::string& patterns, std::string& path) {
  auto* window = dynamic_cast<GtkPlatformWindow*>(owner);
  return RunOpenFileDialog(window ? window->OwningWindow() : nullptr, title, filterName, patterns, path);
}

std::unique_ptr<PlatformWindow> GtkFormsPlatform::CreateWindow(const WindowOptions& options, WindowEvents& events) {
  return std::make_unique<GtkPlatformWindow>(options, events, busyPointer_.Pointer());
}

std::unique_ptr<PlatformComboBox> GtkFormsPlatform::CreateComboBox(PlatformWindow& parent,
                                                                   std::function<void()> onTextChanged) {
  auto* window = dynamic_cast<GtkPlatformWindow*>(&parent);
  if (!window || !window->Container()) return nullptr;
  return std::make_unique<GtkPlatformComboBox>(window->Container(), dotsPerInch_, std::move(onTextChanged));
}

TimerId GtkFormsPlatform::StartTimer(uint32_t intervalMs, std::function<void()> onTick) {
  return timers_.Start(intervalMs, std::move(onTick));
}

void GtkFormsPlatform::StopTimer(TimerId timer) { timers_.Stop(timer); }

void GtkFormsPlatform::RunLoop() { gtk_main(); }

void GtkFormsPlatform::QuitLoop() {
  if (gtk_main_level() > 0) gtk_main_quit();
}

void GtkFormsPlatform::WatchSessionEnd(std::function<void()> onEnd) { WatchSessionEndSignals(std::move(onEnd)); }

std::unique_ptr<FormsPlatform> CreateFormsPlatform(int argc, char** argv) {
  // The backend works with X window ids (other programs' windows, the preview's parent), so
  // GTK must use X11 even under a Wayland session (through Xwayland).
  gdk_set_allowed_backends("x11");
  if (argc > 0 && argv && argv[0]) {
    gchar* name = g_path_get_basename(argv[0]);
    g_set_prgname(name);
    g_free(name);
  }
  // The command line belongs to the shell: GTK is not given it to parse. A server that turns
  // the connection away for the moment only (its queue of new connections full while other
  // clients connect at once) is asked again for a moment; GTK opens the display again on each
  // call. No server at all fails at once.
  for (int attempt = 0;; ++attempt) {
    errno = 0;
    if (gtk_init_check(nullptr, nullptr)) break;
    const bool passing = errno == EAGAIN || errno == ECONNRESET || errno == EINTR;
    if (!passing || attempt == 40) {
      std::fprintf(stderr, "cannot open the X display\n");
      return nullptr;
    }
    g_usleep(25000);
  }
  // GTK takes the user's locale for its texts and input; numbers in the C library keep the
  // full stop, as the shell's own conversions and files expect.
  std::setlocale(LC_NUMERIC, "C");
  return std::make_unique<GtkFormsPlatform>(argc, argv);
}

}  // namespace vellora::shell
