// A recording forms platform for unit tests: windows, timers and the loop are simulated, every
// visible effect is logged in order, and ending the process throws ProcessEnded.
#pragma once

#include <algorithm>
#include <deque>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/canvas.h"
#include "platform/forms_platform.h"

namespace vellora::shell::testing {

struct ProcessEnded {};

class FakeFormsPlatform;

class FakeWindow final : public PlatformWindow {
 public:
  FakeWindow(FakeFormsPlatform& platform, const WindowOptions& options, WindowEvents& events, NativeWindow handle);
  ~FakeWindow() override;

  NativeWindow Handle() const override { return handle; }
  void SetTitle(const std::string& t) override { title = t; }
  void Move(PixelPoint p, PixelSize size) override;
  PixelRect ScreenRect() const override;
  PixelMargins FrameMargins() const override { return frame; }
  PixelSize ClientSize() const override { return client; }
  void SetVisible(bool v) override;
  void Present(const Canvas& picture) override { presented = picture; ++presents; }
  void SetFocus() override;
  bool HasFocus() const override;
  bool AdoptInto(NativeWindow parent) override;
  bool IsWindowAtPoint(PixelPoint) const override;

  FakeFormsPlatform& platform;
  WindowEvents& events;
  NativeWindow handle;
  std::string title;
  bool visible = false;
  bool child;
  PixelPoint position;
  PixelSize client;
  PixelMargins frame;  // the platform's dialogFrame for a top-level dialog, else none
  Canvas icon;
  Canvas presented;
  int presents = 0;
  NativeWindow foreignParent = 0;
};

// Text in the fake is a row of 7 x 13 cells, one per character, each with a 5 x 9 block.
class FakeTextRenderer final : public TextRenderer {
 public:
  static constexpr int kCellWidth = 7, kCellHeight = 13;
  PixelSize Measure(const std::string& text, const FontSpec&) override;
  void Draw(Canvas& canvas, int32_t x, int32_t y, const std::string& text, const FontSpec&, Rgb colour) override;
};

class FakeFormsPlatform final : public FormsPlatform {
 public:
  // Inputs.
  std::string commandLine;
  std::string applicationFolder = "C:\\Vellora";
  std::set<std::string> otherWindowTitles;  // top-level windows of other programs
  std::deque<PixelPoint> cursor{{100, 100}};  // the last position repeats
  std::deque<bool> cursorKnown{true};          // each look at whether it is known; the last repeats
  NativeWindow windowUnderCursor = 0;  // the window a pointer is over, wherever it stands; 0: none of ours
  bool captureFails = false;
  PixelSize screen{64, 48};
  double twipsPerPixel = 15;
  // The frame around top-level dialogs: none by default, as on X without a window manager.
  PixelMargins dialogFrame;
  NumberFormat numberFormat;
  bool refuseAdoption = false;  // every re-parenting fails, as for a host of another desktop
  // Also log the window calls: "CreateWindow <title>", "Move <x>,<y> <w>x<h>", "Show", "Hide"
  // and "WindowScreenRect <handle>", so that their order can be checked.
  bool logWindowCalls = false;

  // What happened, in order: "MessageBox <caption>: <text>", "StartProgram <path>",
  // "ShowCursor false", "EndProcess", "CaptureScreen", ...
  std::vector<std::string> log;
  std::vector<FakeWindow*> windows;  // live windows
  NativeWindow focus = 0;  // the window or combo box holding the keyboard focus

  std::string CommandLine() override { return commandLine; }
  std::string ApplicationFolder() override { return applicationFolder; }
  void MessageBox(const std::string& text, const std::string& caption) override {
    log.push_back("MessageBox " + caption + ": " + text);
  }
  bool StartProgram(const std::string& path) override {
    log.push_back("StartProgram " + path);
    return true;
  }
  [[noreturn]] void EndProcessNow() override {
    log.push_back("EndProcess");
    throw ProcessEnded{};
  }
  void SetBusyPointer(bool busy) override { log.push_back(busy ? "BusyPointer on" : "BusyPointer off"); }
  void OpenDocument(const std::string& address) override { log.push_back("OpenDocument " + address); }
  NumberFormat UserNumberFormat() override { return numberFormat; }
  PixelSize ScreenSize() override { return screen; }
  // The monitors, primary first (its size should be screen's); empty: the screen at (0, 0).
  std::vector<PixelRect> monitors;
  std::vector<PixelRect> Monitors() override {
    if (monitors.empty()) return {{0, 0, screen.width, screen.height}};
    return monitors;
  }
  double TwipsPerPixelX() override { return twipsPerPixel; }
  double TwipsPerPixelY() override { return twipsPerPixel; }
  bool CursorPosition(PixelPoint& where) override;
  bool CursorPositionKnown() override;
  void ShowCursor(bool show) override { log.push_back(show ? "ShowCursor true" : "ShowCursor false"); }
  bool FindWindowByTitle(const std::string& title) override;
  bool WindowScreenRect(NativeWindow window, PixelRect& rect) override;
  void KeepSystemSaverOff() override { log.push_back("KeepSystemSaverOff"); }
  // The desktop's pixel at (x, y) is (x * 3, y * 5, 77), each channel wrapped to a byte.
  bool CaptureScreen(Canvas& into) override;
  // Logs "CaptureDesktopArea <left>,<top>-<right>,<bottom>".
  bool CaptureDesktopArea(PixelRect area, Canvas& into) override;
  void ZoomAnimation(NativeWindow, PixelRect from, PixelRect to) override;
  // Logs "ChooseOpenFile <owner handle> <title> | <filter name> | <patterns>"; the user picks
  // chosenFile, or cancels when it is empty. Like the real dialogs, any path comes back whole.
  bool ChooseOpenFile(PlatformWindow* owner, const std::string& title, const std::string& filterName,
                      const std::string& patterns, std::string& path) override {
    log.push_back("ChooseOpenFile " + std::to_string(owner ? owner->Handle() : 0) + " " + title + " | " + filterName +
                  " | " + patterns);
    if (chosenFile.empty()) return false;
    path = chosenFile;
    return true;
  }
  std::string chosenFile;
  std::map<NativeWindow, PixelRect> foreignWindows;

  std::unique_ptr<PlatformWindow> CreateWindow(const WindowOptions& options, WindowEvents& events) override;
  std::unique_ptr<PlatformComboBox> CreateComboBox(PlatformWindow& parent, std::function<void()> onTextChanged) override;
  TextRenderer& Text() override { return text_; }

  TimerId StartTimer(uint32_t intervalMs, std::function<void()> onTick) override;
  void StopTimer(TimerId timer) override { timers_.erase(timer); }
  // Moves the clock on, firing every due tick in time order.
  void Advance(uint32_t ms);
  size_t ActiveTimers() const { return timers_.size(); }
  bool TimerActive(uint32_t intervalMs) const;

  // The loop runs the scripted steps; it ends when QuitLoop is called or the script is done.
  std::deque<std::function<void()>> loopScript;
  void RunLoop() override;
  void QuitLoop() override { quit_ = true; }

  // As the backends do: the watch runs once at the session's end, then the process ends.
  void WatchSessionEnd(std::function<void()> onEnd) override { sessionEnd_ = std::move(onEnd); }
  // The operating system's session ends (a log-off, or SIGTERM): throws ProcessEnded.
  [[noreturn]] void EndOsSession();
  // The end is asked for while no loop runs: from the start, or once this entry is in the log.
  bool SessionEndRequested() override {
    return endRequested || (!endRequestedAfter.empty() && std::find(log.begin(), log.end(), endRequestedAfter) != log.end());
  }
  bool endRequested = false;
  std::string endRequestedAfter;

  FakeWindow* WindowTitled(const std::string& title) const;
  // Gives the focus to the window or combo box with this handle, telling the windows involved
  // at once, as SetFocus does on the real systems.
  void MoveFocus(NativeWindow to);
  NativeWindow NewHandle() { return nextHandle_++; }

 private:
  bool CopyDesktop(PixelRect area, Canvas& into);
  struct Timer {
    uint32_t interval;
    uint64_t due;
    std::function<void()> onTick;
  };
  FakeTextRenderer text_;
  std::map<TimerId, Timer> timers_;
  TimerId nextTimer_ = 1;
  uint64_t now_ = 0;
  NativeWindow nextHandle_ = 0x1000;
  bool quit_ = false;
  std::function<void()> sessionEnd_;
};

}  // namespace vellora::shell::testing
