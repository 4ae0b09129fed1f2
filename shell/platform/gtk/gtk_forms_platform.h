// The forms platform on Linux: GTK 3 windows on X11, Pango text, GLib timers and loop.
//
// A screensaver session (/s) starts without GTK: the instance guard, the cursor, the screen
// capture, the renderer's start and the mouse test go over a plain X connection of the shell's
// own, which also keeps the cursor hidden for the whole session, and its loop is GLib's. GTK
// comes up only when something needs it (a message box, a form shown); a session as designed
// never does, so GTK's start-up neither delays the renderer nor competes with it for the CPU.
// The other modes start GTK at once.
#pragma once

#include <gtk/gtk.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/forms_platform.h"
#include "platform/gtk/glib_timers.h"
#include "platform/gtk/gtk_busy_pointer.h"
#include "platform/gtk/pango_text_renderer.h"
#include "platform/gtk/x11_screen.h"

namespace vellora::shell {

class DeferredGtkWindow;

class GtkFormsPlatform final : public FormsPlatform {
 public:
  // With ownDisplay (a plain X connection, which the platform then owns) GTK is started when
  // first needed; without it GTK must already have been initialised on an X11 display.
  GtkFormsPlatform(std::string commandLine, _XDisplay* ownDisplay);
  ~GtkFormsPlatform() override;

  std::string CommandLine() override { return commandLine_; }
  std::string ApplicationFolder() override;
  void MessageBox(const std::string& text, const std::string& caption) override;
  bool StartProgram(const std::string& path) override;
  [[noreturn]] void EndProcessNow() override;
  void SetBusyPointer(bool busy) override;
  void OpenDocument(const std::string& address) override;
  NumberFormat UserNumberFormat() override;

  PixelSize ScreenSize() override;
  std::vector<PixelRect> Monitors() override;
  double TwipsPerPixelX() override;
  double TwipsPerPixelY() override;
  bool CursorPosition(PixelPoint& where) override;
  bool CursorPositionKnown() override;
  void ShowCursor(bool show) override;
  bool FindWindowByTitle(const std::string& title) override;
  bool WindowScreenRect(NativeWindow window, PixelRect& rect) override;
  void KeepSystemSaverOff() override;
  bool CaptureScreen(Canvas& into) override;
  bool CaptureDesktopArea(PixelRect area, Canvas& into) override;
  void ZoomAnimation(NativeWindow window, PixelRect from, PixelRect to) override;
  bool ChooseOpenFile(PlatformWindow* owner, const std::string& title, const std::string& filterName,
                      const std::string& patterns, std::string& path) override;

  std::unique_ptr<PlatformWindow> CreateWindow(const WindowOptions& options, WindowEvents& events) override;
  std::unique_ptr<PlatformComboBox> CreateComboBox(PlatformWindow& parent,
                                                   std::function<void()> onTextChanged) override;
  TextRenderer& Text() override { return text_; }

  TimerId StartTimer(uint32_t intervalMs, std::function<void()> onTick) override;
  void StopTimer(TimerId timer) override;
  void RunLoop() override;
  void QuitLoop() override;
  void WatchSessionEnd(std::function<void()> onEnd) override;
  bool SessionEndRequested() override;

 private:
  // Starts GTK if it is not up yet and makes the deferred windows GTK windows.
  void BringUpToolkit();
  // The connection for the X requests of the screen, the pointer and other programs' windows.
  _XDisplay* XDisplay() const;

  std::string commandLine_;
  _XDisplay* ownDisplay_;
  // Under XWayland from a program's start until the pointer's position is known, and the
  // first position seen meanwhile (CursorPositionKnown).
  bool pointerSettling_ = false;
  std::optional<PixelPoint> pointerFirstLook_;
  bool toolkitUp_;
  std::vector<DeferredGtkWindow*> deferredWindows_;
  guint ownEvents_ = 0;  // the loop's watch on the own connection's events
  // The loops running, innermost last: GLib's own, or GTK's main loop (null).
  std::vector<GMainLoop*> loops_;
  double dotsPerInch_;
  PangoTextRenderer text_;
  GlibTimers timers_;
  X11CursorVisibility cursor_;
  GtkBusyPointer busyPointer_;
};

}  // namespace vellora::shell
