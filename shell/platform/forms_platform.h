// The seam between the shell's forms runtime and the operating system's windows.
//
// The portable runtime (shell/runtime) keeps every form's picture in a Canvas of its own and
// draws labels, images, shapes, gradients and lines into it itself; a backend only creates
// native windows, shows a canvas in them, renders text, reports input and runs timers. Each
// backend (platform/gtk, platform/win32, and the fake of the unit tests) is a thin
// translation of these operations. Text is UTF-8 throughout.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/number_conversions.h"

namespace vellora::shell {

class Canvas;

// A native window handle as a number: an HWND on Windows, an X window id on Linux. 0 is none.
using NativeWindow = uint64_t;

struct PixelPoint {
  int32_t x = 0;
  int32_t y = 0;
};

struct PixelSize {
  int32_t width = 0;
  int32_t height = 0;
};

struct PixelRect {
  int32_t left = 0, top = 0, right = 0, bottom = 0;
  int32_t Width() const { return right - left; }
  int32_t Height() const { return bottom - top; }
};

// Widths of a frame around a rectangle, in pixels.
struct PixelMargins {
  int32_t left = 0, top = 0, right = 0, bottom = 0;
};

struct Rgb {
  uint8_t r = 0, g = 0, b = 0;
  bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
  bool operator!=(const Rgb& o) const { return !(*this == o); }
};

struct FontSpec {
  std::string face = u8"ＭＳ Ｐゴシック";
  double points = 9.75;
  int weight = 400;
  int charset = 128;
  bool italic = false;
  bool underline = false;
};

// Mouse buttons as the forms runtime numbers them: 1 left, 2 right, 4 middle.
enum MouseButton : int { kLeftButton = 1, kRightButton = 2, kMiddleButton = 4 };

// What a native window reports to the runtime object that owns it.
class WindowEvents {
 public:
  virtual ~WindowEvents() = default;
  virtual void OnMouseDown(int /*button*/, int /*shift*/, PixelPoint /*where*/) {}
  virtual void OnMouseUp(int /*button*/, int /*shift*/, PixelPoint /*where*/) {}
  virtual void OnMouseMove(int /*buttons*/, int /*shift*/, PixelPoint /*where*/) {}
  virtual void OnFocusChanged(bool /*gained*/) {}
  virtual void OnResized(PixelSize /*client*/) {}
  // The user asked to close the window (close box, Alt+F4, the window manager).
  virtual void OnCloseRequested() {}
  // Tab (or Shift+Tab: backward) was pressed anywhere inside this top-level window. True when
  // the owner moved the focus; otherwise the system's own handling goes on.
  virtual bool OnTabKey(bool /*backward*/) { return false; }
  // The window was destroyed from outside, e.g. together with a foreign parent.
  virtual void OnDestroyedFromOutside() {}
  // The window no longer has the picture last presented (it was made anew): present it again.
  virtual void OnPictureLost() {}
};

enum class FrameStyle {
  None,       // no border, no caption
  FixedDialog // caption and close box, fixed size, no minimise or maximise box
};

struct WindowOptions {
  std::string title;
  FrameStyle frame = FrameStyle::None;
  Rgb background{0, 0, 0};
  PixelSize clientSize;
  // The picture the window system shows for a top-level window (caption, task switcher);
  // null: the system's default.
  const Canvas* icon = nullptr;
  // A child window (picture panel, user control) lies inside this one, at childPosition.
  class PlatformWindow* parent = nullptr;
  PixelPoint childPosition;
};

// One native window. Created hidden; destroyed with the object.
class PlatformWindow {
 public:
  virtual ~PlatformWindow() = default;
  virtual NativeWindow Handle() const = 0;
  virtual void SetTitle(const std::string& title) = 0;
  // Client area position (screen for top-level windows, parent client for children) and size.
  virtual void Move(PixelPoint position, PixelSize clientSize) = 0;
  // Outer rectangle in screen pixels, frame included.
  virtual PixelRect ScreenRect() const = 0;
  // The frame that the window system draws around the client area (caption, borders), also
  // before the window is first shown; all zero when there is none or the system does not tell.
  virtual PixelMargins FrameMargins() const = 0;
  virtual PixelSize ClientSize() const = 0;
  virtual void SetVisible(bool visible) = 0;
  // Shows the canvas as the window's picture (top-left aligned) and keeps it for repaints.
  virtual void Present(const Canvas& picture) = 0;
  virtual void SetFocus() = 0;
  // True when this window holds the keyboard focus within its top-level window.
  virtual bool HasFocus() const = 0;
  // Makes the window a child of a foreign window and moves it to that window's (0, 0).
  virtual bool AdoptInto(NativeWindow foreignParent) = 0;
  // True when this window is the one under the screen point, the one a pointer there is over.
  // The portable answer only tests the point against ScreenRect, so it cannot see other
  // windows lying on top; backends that can ask the window system (WindowFromPoint) do better.
  virtual bool IsWindowAtPoint(PixelPoint screenPoint) const {
    const PixelRect r = ScreenRect();
    return screenPoint.x >= r.left && screenPoint.x < r.right && screenPoint.y >= r.top && screenPoint.y < r.bottom;
  }
};

// An editable drop-down combo box (a native control inside a window).
class PlatformComboBox {
 public:
  virtual ~PlatformComboBox() = default;
  virtual void Move(PixelPoint position, PixelSize size) = 0;
  virtual void SetText(const std::string& text) = 0;
  virtual std::string Text() const = 0;
  virtual void AddItem(const std::string& item) = 0;
  virtual int ItemCount() const = 0;
  virtual void SetEnabled(bool enabled) = 0;
  virtual void SetFont(const FontSpec& font) = 0;
  virtual void SetFocus() = 0;
  // True when the box (its edit field) holds the keyboard focus within its top-level window.
  virtual bool HasFocus() const = 0;
};

// Renders text in a font; used by the runtime to draw captions into canvases.
class TextRenderer {
 public:
  virtual ~TextRenderer() = default;
  virtual PixelSize Measure(const std::string& text, const FontSpec& font) = 0;
  // From one line's top to the next one's in a caption of several lines.
  virtual int32_t LineAdvance(const FontSpec& font) { return Measure(" ", font).height; }
  // Draws with a transparent background; (x, y) is the top-left of the text's box.
  virtual void Draw(Canvas& canvas, int32_t x, int32_t y, const std::string& text, const FontSpec& font,
                    Rgb colour) = 0;
};

using TimerId = uint32_t;

class FormsPlatform {
 public:
  virtual ~FormsPlatform() = default;

  // Process.
  virtual std::string CommandLine() = 0;         // the arguments, without the program path
  virtual std::string ApplicationFolder() = 0;   // no trailing separator except at a root
  virtual void MessageBox(const std::string& text, const std::string& caption) = 0;  // OK only
  virtual bool StartProgram(const std::string& path) = 0;  // normal, focused window; not waited for
  [[noreturn]] virtual void EndProcessNow() = 0;          // runs no handler of any form
  virtual void SetBusyPointer(bool busy) = 0;              // hourglass over every window
  // Opens a document or address with the program the system associates with it, without
  // waiting for that program or for the system to find it; failures go unreported.
  virtual void OpenDocument(const std::string& address) = 0;
  // How the user writes numbers (the user's locale settings, not the program's).
  virtual NumberFormat UserNumberFormat() = 0;

  // Screen, pointer and other programs' windows. The screen is the primary monitor: on Windows
  // it lies at (0, 0); on X it takes the place of the whole X screen wherever it lies.
  virtual PixelSize ScreenSize() = 0;
  // The monitors, the primary first, then the others from left to right, top to bottom, in
  // desktop pixels: Windows' virtual screen (others may lie at negative coordinates) or X's
  // root window. Never empty.
  virtual std::vector<PixelRect> Monitors() = 0;
  virtual double TwipsPerPixelX() = 0;
  virtual double TwipsPerPixelY() = 0;
  virtual bool CursorPosition(PixelPoint& where) = 0;
  // False while the system cannot yet tell where the pointer is. Under XWayland, after a program
  // is started, that lasts until the compositor tells XWayland, as the program's window comes up
  // under the pointer; the position then jumps there, which is no move of the user's.
  virtual bool CursorPositionKnown() = 0;
  virtual void ShowCursor(bool show) = 0;
  // True when any top-level window, shown or hidden, has exactly this title.
  virtual bool FindWindowByTitle(const std::string& title) = 0;
  virtual bool WindowScreenRect(NativeWindow window, PixelRect& rect) = 0;
  // From now on to the end of the process the system's own screen saver stays off; if it is
  // showing, it is taken down and the desktop repainted before this returns. (Where the system
  // runs this program as its screen saver, there is nothing to hold off.)
  virtual void KeepSystemSaverOff() = 0;
  // Copies the whole screen into the canvas (resized to the screen).
  virtual bool CaptureScreen(Canvas& into) = 0;
  // Copies the desktop inside the rectangle (as Monitors gives them) at once into the canvas,
  // resized to it.
  virtual bool CaptureDesktopArea(PixelRect area, Canvas& into) = 0;
  // The caption-zoom animation of a window between two screen rectangles.
  virtual void ZoomAnimation(NativeWindow window, PixelRect from, PixelRect to) = 0;
  // The open-file dialog with one filter entry; true and the chosen path when the user picked
  // one, false when cancelled or failed. The settings' buffer limit is ChooseOpenFileFitting's.
  virtual bool ChooseOpenFile(PlatformWindow* owner, const std::string& title, const std::string& filterName,
                              const std::string& patterns, std::string& path) = 0;

  // Windows and controls.
  virtual std::unique_ptr<PlatformWindow> CreateWindow(const WindowOptions& options, WindowEvents& events) = 0;
  virtual std::unique_ptr<PlatformComboBox> CreateComboBox(PlatformWindow& parent,
                                                           std::function<void()> onTextChanged) = 0;
  virtual TextRenderer& Text() = 0;

  // Timers fire on the user-interface thread, between other events, until stopped.
  virtual TimerId StartTimer(uint32_t intervalMs, std::function<void()> onTick) = 0;
  virtual void StopTimer(TimerId timer) = 0;

  // Runs events until QuitLoop is called (a modal show runs a nested loop the same way).
  virtual void RunLoop() = 0;
  virtual void QuitLoop() = 0;

  // From this call on, the end of the operating system's session (log-off, shut-down; on
  // Linux also SIGTERM, SIGHUP and SIGINT) runs onEnd once on the user-interface thread,
  // between other events; if onEnd returns, the process then ends with exit code 0. Without a
  // watch the process just ends with exit code 0 once the loop runs.
  virtual void WatchSessionEnd(std::function<void()> onEnd) = 0;
  // True once the end of the session has been asked for, also before the watch was set or while
  // no loop runs (a long start-up step): the caller then starts nothing more.
  virtual bool SessionEndRequested() = 0;
};

// When a backend brings up its toolkit. A session shows nothing of the toolkit's own unless
// something needs it (a message box, say), so its start may leave the toolkit out and open a
// plain display connection instead; the other modes need the toolkit at once. A backend whose
// toolkit costs nothing to start ignores it.
enum class ToolkitStart { AtOnce, WhenNeeded };

// The running system's forms platform (defined by the backend that is linked in). argc and
// argv are those of main on Linux; Windows backends take the command line from the system.
std::unique_ptr<FormsPlatform> CreateFormsPlatform(int argc, char** argv,
                                                   ToolkitStart start = ToolkitStart::AtOnce);

}  // namespace vellora::shell
