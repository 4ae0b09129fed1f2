// A scripted, recording stand-in for the renderer's platform: every call is logged in order,
// any step can be made to fail, and messages, ticks and cursor positions are fed from queues.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "fake_data_folder_probes.h"
#include "render_platform.h"
#include "scene.h"

namespace vellora::renderer::testing {

// Thrown by ExitProcess so that a test can see the exit code and the process "ends".
struct ProcessExit {
  int code;
};

class FakeProcessServices : public ProcessServices {
 public:
  struct Box {
    std::string caption, text;
    bool operator==(const Box& o) const { return caption == o.caption && text == o.text; }
  };
  void ShowMessageBox(const std::string& caption, const std::string& text) override { boxes.push_back({caption, text}); }
  [[noreturn]] void ExitProcess(int code) override { throw ProcessExit{code}; }
  std::string ExecutableFolder() override { return exeFolder; }
  DataFolderProbes& FolderProbes() override { return folderProbes; }

  std::vector<Box> boxes;
  std::string exeFolder = "/opt/vellora/";
  // A folder the user can write to: the snapshot is read from beside the executable.
  vellora::testing::FakeDataFolderProbes folderProbes;
};

class FakeRenderPlatform final : public RenderPlatform {
 public:
  // The step named here returns failure ("CreateRenderWindow", "ChoosePixelFormat", ...).
  std::string failingStep;
  ScreenMetrics metrics{1280, 1000, 24};
  std::deque<WindowEvent> queue;                 // delivered one per pump
  std::deque<ScreenPoint> cursorPositions;       // the last one repeats
  int cursorUnknownLooks = 0;                    // looks answered "not known yet" before them
  std::deque<uint64_t> ticks;                    // the last one repeats
  std::vector<std::string> log;
  std::vector<FakeProcessServices::Box> boxes;
  // Runs before each pump; lets a test change inputs as frames go by.
  std::function<void(FakeRenderPlatform&)> beforePump;
  int framesSwapped = 0;

  void ShowMessageBox(const std::string& caption, const std::string& text) override {
    boxes.push_back({caption, text});
    log.push_back("ShowMessageBox");
  }
  [[noreturn]] void ExitProcess(int code) override {
    log.push_back("ExitProcess " + std::to_string(code));
    throw ProcessExit{code};
  }
  std::string ExecutableFolder() override { return "/opt/vellora/"; }
  DataFolderProbes& FolderProbes() override { return folderProbes; }
  vellora::testing::FakeDataFolderProbes folderProbes;

  bool RegisterWindowClass() override { return Step("RegisterWindowClass"); }
  void UnregisterWindowClass() override { log.push_back("UnregisterWindowClass"); }
  ScreenMetrics QueryScreenMetrics() override {
    log.push_back("QueryScreenMetrics");
    return metrics;
  }
  bool CreateRenderWindow(const std::string& title, int32_t x, int32_t y, int32_t width, int32_t height,
                          WindowEventHandler& handler) override {
    handler_ = &handler;
    log.push_back("CreateRenderWindow " + title + " " + std::to_string(x) + "," + std::to_string(y) + " " +
                  std::to_string(width) + "x" + std::to_string(height));
    window_ = failingStep != "CreateRenderWindow";
    return window_;
  }
  bool HasWindow() const override { return window_; }
  void DestroyRenderWindow() override {
    log.push_back("DestroyRenderWindow");
    window_ = false;
  }
  bool AcquireDeviceContext() override { return dc_ = Step("AcquireDeviceContext"); }
  bool HasDeviceContext() const override { return dc_; }
  void ReleaseDeviceContext() override {
    log.push_back("ReleaseDeviceContext");
    dc_ = false;
  }
  int ChoosePixelFormat() override { return Step("ChoosePixelFormat") ? 7 : 0; }
  bool SetPixelFormat(int format) override { return Step("SetPixelFormat " + std::to_string(format)); }
  bool CreateGLContext() override { return Step("CreateGLContext"); }
  bool MakeContextCurrent() override { return Step("MakeContextCurrent"); }
  bool DetachContext() override { return Step("DetachContext"); }
  void DeleteGLContext() override { log.push_back("DeleteGLContext"); }
  void StartTimer(uint32_t id, uint32_t intervalMs) override {
    log.push_back("StartTimer " + std::to_string(id) + " " + std::to_string(intervalMs));
  }
  void ShowAndFocusWindow() override { log.push_back("ShowAndFocusWindow"); }
  void SetWindowTitle(const std::string& title) override { log.push_back("SetWindowTitle " + title); }

  PumpResult PumpOneMessage() override {
    if (beforePump) beforePump(*this);
    if (quitPosted_) {
      quitPosted_ = false;
      return PumpResult::Quit;
    }
    if (queue.empty() && !monitorQueue.empty() && monitorHandlers_.count(monitorQueue.front().first) != 0) {
      const auto [title, event] = monitorQueue.front();
      monitorQueue.pop_front();
      handled.push_back(monitorHandlers_.at(title)->RenderWindowProc(event));
      return PumpResult::Dispatched;
    }
    if (queue.empty()) return PumpResult::QueueEmpty;
    const WindowEvent event = queue.front();
    queue.pop_front();
    handled.push_back(handler_->RenderWindowProc(event));
    return PumpResult::Dispatched;
  }
  void PostQuit() override {
    log.push_back("PostQuit");
    quitPosted_ = true;
  }
  void SwapBuffers() override { ++framesSwapped; }

  // The desktop's monitors as the system reports them (a real backend orders them first).
  std::vector<MonitorRect> monitors{{0, 0, 1280, 1024, true}};
  // Events for the monitor windows, by title; one is delivered per pump once queue is empty and
  // the window is open.
  std::deque<std::pair<std::string, WindowEvent>> monitorQueue;
  std::vector<MonitorRect> Monitors() override {
    log.push_back("Monitors");
    return OrderMonitors(monitors);
  }
  std::unique_ptr<MonitorWindow> OpenMonitorWindow(const std::string& title, const MonitorRect& area,
                                                   WindowEventHandler& handler) override {
    log.push_back("OpenMonitorWindow " + title + " " + std::to_string(area.left) + "," + std::to_string(area.top) +
                  " " + std::to_string(area.width) + "x" + std::to_string(area.height));
    if (failingStep == "OpenMonitorWindow " + title) return nullptr;
    monitorHandlers_[title] = &handler;
    WindowEvent created;
    created.kind = WindowEvent::Kind::Create;
    handler.RenderWindowProc(created);
    return std::make_unique<FakeMonitorWindow>(*this, title);
  }
  bool MakeRenderContextCurrent() override {
    log.push_back("MakeRenderContextCurrent");
    return true;
  }
  std::optional<ScreenPoint> CursorPosition() override {
    if (cursorUnknownLooks > 0) {
      --cursorUnknownLooks;
      return std::nullopt;
    }
    return Next(cursorPositions, ScreenPoint{});
  }
  void ShowCursor(bool show) override { log.push_back(show ? "ShowCursor true" : "ShowCursor false"); }
  uint64_t TickCount() override { return Next(ticks, uint64_t{0}); }

  std::vector<bool> handled;  // what the window procedure answered, per dispatched event

 private:
  class FakeMonitorWindow final : public MonitorWindow {
   public:
    FakeMonitorWindow(FakeRenderPlatform& platform, std::string title) : platform_(platform), title_(std::move(title)) {}
    ~FakeMonitorWindow() override {
      platform_.log.push_back("CloseMonitorWindow " + title_);
      platform_.monitorHandlers_.erase(title_);
    }
    bool MakeContextCurrent() override {
      platform_.log.push_back("MakeContextCurrent " + title_);
      return true;
    }
    void SwapBuffers() override { platform_.log.push_back("SwapBuffers " + title_); }

   private:
    FakeRenderPlatform& platform_;
    std::string title_;
  };

  bool Step(const std::string& name) {
    log.push_back(name);
    return name.rfind(failingStep, 0) != 0 || failingStep.empty();
  }
  template <typename T>
  static T Next(std::deque<T>& values, T fallback) {
    if (values.empty()) return fallback;
    const T value = values.front();
    if (values.size() > 1) values.pop_front();
    return value;
  }

  WindowEventHandler* handler_ = nullptr;
  std::map<std::string, WindowEventHandler*> monitorHandlers_;
  bool window_ = false;
  bool dc_ = false;
  bool quitPosted_ = false;
};

// Records the scene calls and the clock of every frame.
class RecordingScene final : public Scene {
 public:
  explicit RecordingScene(std::vector<std::string>& log) : log_(log) {}
  void ResizeScene(int32_t width, int32_t height) override {
    log_.push_back("ResizeScene " + std::to_string(width) + "x" + std::to_string(height));
  }
  void InitScene() override {
    log_.push_back("InitScene");
    if (onInit) onInit();
  }
  void DrawScene(int64_t animClock) override { clocks.push_back(animClock); }

  std::function<void()> onInit;
  std::vector<int64_t> clocks;

 private:
  std::vector<std::string>& log_;
};

inline WindowEvent Key(WindowEvent::Kind kind, uint32_t key) {
  WindowEvent e;
  e.kind = kind;
  e.key = key;
  return e;
}

}  // namespace vellora::renderer::testing
