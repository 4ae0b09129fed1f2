// Xlib + GLX backend of the renderer: a borderless full-screen window with a GLX context.
#pragma once

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <GL/glx.h>

#include <vector>

#include "../../render_platform.h"

namespace vellora::renderer {

class X11RenderPlatform final : public RenderPlatform {
 public:
  // Installs the X error handler for the renderer's life.
  X11RenderPlatform();
  ~X11RenderPlatform() override;
  X11RenderPlatform(const X11RenderPlatform&) = delete;
  X11RenderPlatform& operator=(const X11RenderPlatform&) = delete;

  void ShowMessageBox(const std::string& caption, const std::string& text) override;
  [[noreturn]] void ExitProcess(int code) override;
  std::string ExecutableFolder() override;
  DataFolderProbes& FolderProbes() override;

  // X has no window classes: "registering" opens the display connection the window will use.
  bool RegisterWindowClass() override;
  void UnregisterWindowClass() override;
  ScreenMetrics QueryScreenMetrics() override;

  bool CreateRenderWindow(const std::string& title, int32_t x, int32_t y, int32_t width, int32_t height,
                          WindowEventHandler& handler) override;
  bool HasWindow() const override { return window_ != 0; }
  void DestroyRenderWindow() override;

  // The window itself is the drawable; the visual (pixel format) is fixed when it is created.
  bool AcquireDeviceContext() override;
  bool HasDeviceContext() const override { return hasDrawable_; }
  void ReleaseDeviceContext() override { hasDrawable_ = false; }
  int ChoosePixelFormat() override;
  bool SetPixelFormat(int format) override;

  bool CreateGLContext() override;
  bool MakeContextCurrent() override;
  bool DetachContext() override;
  void DeleteGLContext() override;

  void StartTimer(uint32_t id, uint32_t intervalMs) override;
  void ShowAndFocusWindow() override;
  void SetWindowTitle(const std::string& title) override;

  PumpResult PumpOneMessage() override;
  void PostQuit() override { quitPosted_ = true; }

  void SwapBuffers() override;
  std::vector<MonitorRect> Monitors() override;
  std::unique_ptr<MonitorWindow> OpenMonitorWindow(const std::string& title, const MonitorRect& area,
                                                   WindowEventHandler& handler) override;
  bool MakeRenderContextCurrent() override;
  std::optional<ScreenPoint> CursorPosition() override;
  void ShowCursor(bool show) override;
  // CLOCK_MONOTONIC in milliseconds. Testing aid: when the environment variable
  // VELLORA_TEST_CLOCK_AHEAD_MS holds a number of milliseconds, every reading after the first
  // is that much ahead, as if the renderer had already run that long when its loop began; the
  // soak bench uses it to reach the clock's far ranges in minutes. Nothing else reads it.
  uint64_t TickCount() override;

 private:
  static uint64_t MonotonicMs();
  class X11MonitorWindow;
  // A window of this connection and where its events go.
  struct EventTarget {
    Window window;
    WindowEventHandler* handler;
    int width, height;  // the last size told to the handler
  };

  // A borderless top-level window of the visual and colormap, with its title, hints, full-screen
  // request and close protocol; 0 when none could be made.
  Window CreateBorderlessWindow(const std::string& title, int32_t x, int32_t y, int32_t width, int32_t height);
  void Dispatch(const XEvent& event);
  void RequestSwapInterval(Window window, int interval);
  // Defines the cursor of one of the windows: the blank one while the cursor is hidden.
  void ApplyCursor(Window window);
  void Forget(Window window);

  Display* display_ = nullptr;
  Window window_ = 0;
  Colormap colormap_ = 0;
  XVisualInfo* visual_ = nullptr;
  GLXContext context_ = nullptr;
  Cursor blankCursor_ = 0;
  bool cursorHidden_ = false;
  bool hasDrawable_ = false;
  bool swapIntervalAsked_ = false;
  std::vector<EventTarget> monitorWindows_;
  bool quitPosted_ = false;
  WindowEventHandler* handler_ = nullptr;
  Atom wmProtocols_ = 0;
  Atom wmDeleteWindow_ = 0;
  int windowWidth_ = 0;
  int windowHeight_ = 0;

  uint32_t timerId_ = 0;
  uint32_t timerInterval_ = 0;
  uint64_t timerDue_ = 0;  // on MonotonicMs, which the testing aid leaves alone

  uint64_t clockAheadMs_ = 0;
  bool clockRead_ = false;
  // Whether the X server knows where the pointer is: at once, but under XWayland only from the
  // first motion over our windows (CursorPosition).
  bool pointerKnown_ = true;
};

}  // namespace vellora::renderer
