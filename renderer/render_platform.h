// The seam between the renderer's portable logic and the operating system.
//
// Each backend (platform/win32, platform/x11, and the fake used by unit tests) is a thin
// translation of these operations; every decision about order, failure and timing lives in
// the portable code that calls them.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "data_folder_probes.h"
#include "monitor_layout.h"

namespace vellora::renderer {

struct ScreenPoint {
  int32_t x = 0;
  int32_t y = 0;
};

// Sizes the window is made from: a maximised top-level window and one caption height, and the
// top-left corner of the primary monitor, where the window is placed: (0, 0) on Windows, where
// the primary monitor always lies; on X wherever the layout puts the primary monitor.
struct ScreenMetrics {
  int32_t maximisedWidth = 0;
  int32_t maximisedHeight = 0;
  int32_t captionHeight = 0;
  int32_t originX = 0;
  int32_t originY = 0;
};

// What a backend delivers to the window procedure.
struct WindowEvent {
  enum class Kind { Create, Size, Close, KeyDown, KeyUp, Timer, Other };
  Kind kind = Kind::Other;
  uint32_t key = 0;       // virtual-key code for KeyDown/KeyUp (Escape is 27)
  uint32_t timerId = 0;   // for Timer
  uint32_t width = 0;     // for Size: the unsigned 16-bit halves of the size parameter
  uint32_t height = 0;
};

class WindowEventHandler {
 public:
  virtual ~WindowEventHandler() = default;
  // True when the event was handled; false sends it on to the platform's default handling.
  virtual bool RenderWindowProc(const WindowEvent& event) = 0;
};

// Process services that the snapshot loader needs too, so it can be used without a window.
class ProcessServices {
 public:
  virtual ~ProcessServices() = default;
  // Modal, no owner window, one OK button.
  virtual void ShowMessageBox(const std::string& caption, const std::string& text) = 0;
  // Ends the process at once with the given exit code; nothing else of the renderer runs.
  [[noreturn]] virtual void ExitProcess(int code) = 0;
  // Folder of the running executable, ending in a path separator.
  virtual std::string ExecutableFolder() = 0;
  // The system's probes for the data-folder rule, which says where the snapshot is.
  virtual DataFolderProbes& FolderProbes() = 0;
};

enum class PumpResult { QueueEmpty, Quit, Dispatched };

// A borderless window of its own, with a GL context of its own, covering one of the monitors
// besides the primary. Closing it (destroying the object) tears context and window down.
class MonitorWindow {
 public:
  virtual ~MonitorWindow() = default;
  virtual bool MakeContextCurrent() = 0;
  virtual void SwapBuffers() = 0;
};

class RenderPlatform : public ProcessServices {
 public:
  virtual bool RegisterWindowClass() = 0;
  virtual void UnregisterWindowClass() = 0;
  virtual ScreenMetrics QueryScreenMetrics() = 0;

  // Creates the borderless top-level window; its events go to handler from then on.
  virtual bool CreateRenderWindow(const std::string& title, int32_t x, int32_t y, int32_t width,
                                  int32_t height, WindowEventHandler& handler) = 0;
  virtual bool HasWindow() const = 0;
  virtual void DestroyRenderWindow() = 0;

  virtual bool AcquireDeviceContext() = 0;
  virtual bool HasDeviceContext() const = 0;
  virtual void ReleaseDeviceContext() = 0;

  // Double-buffered RGBA, 32 colour bits, 16 depth bits. 0 means none is available.
  virtual int ChoosePixelFormat() = 0;
  virtual bool SetPixelFormat(int format) = 0;

  virtual bool CreateGLContext() = 0;
  virtual bool MakeContextCurrent() = 0;
  virtual bool DetachContext() = 0;
  virtual void DeleteGLContext() = 0;

  // Ticks arrive through the queue as Timer events with this id.
  virtual void StartTimer(uint32_t id, uint32_t intervalMs) = 0;
  virtual void ShowAndFocusWindow() = 0;
  virtual void SetWindowTitle(const std::string& title) = 0;

  // Takes at most one pending message and hands it to the window procedure.
  virtual PumpResult PumpOneMessage() = 0;
  virtual void PostQuit() = 0;

  virtual void SwapBuffers() = 0;

  // The desktop's monitors in their order (OrderMonitors): the primary first, then the others.
  virtual std::vector<MonitorRect> Monitors() = 0;
  // A window on the monitor's area with the render window's pixel format and a GL context of
  // its own, shown without taking the focus and without the cursor while it is hidden; its
  // events go to handler through PumpOneMessage. Call it once the render window is up. Null
  // when any part fails, with nothing left behind. Its context is left current.
  virtual std::unique_ptr<MonitorWindow> OpenMonitorWindow(const std::string& title, const MonitorRect& area,
                                                           WindowEventHandler& handler) = 0;
  // Makes the render window's own context current again after a monitor window's.
  virtual bool MakeRenderContextCurrent() = 0;

  // Where the pointer is; none while the system cannot tell yet (XWayland before the compositor
  // has told it), so that the first position it tells is no move.
  virtual std::optional<ScreenPoint> CursorPosition() = 0;
  virtual void ShowCursor(bool show) = 0;
  // Milliseconds of a 64-bit monotonic clock: it never wraps and never goes back.
  virtual uint64_t TickCount() = 0;
};

}  // namespace vellora::renderer
