#include "monitor_views.h"

#include <string>

#include "renderer_program.h"

namespace vellora::renderer {

std::string MonitorWindowTitle(size_t monitorIndex) {
  return std::string(kRenderWindowTitle) + "_" + std::to_string(monitorIndex + 1);
}

class MonitorViews::View final : public WindowEventHandler {
 public:
  View(WindowEventHandler& renderWindow, const MonitorRect& area)
      : renderWindow_(renderWindow), width_(area.width), height_(area.height) {}

  bool Open(RenderPlatform& platform, size_t index, const MonitorRect& area, const MonitorSceneFactory& makeScene) {
    window_ = platform.OpenMonitorWindow(MonitorWindowTitle(index), area, *this);
    if (!window_) return false;
    scene_ = makeScene(index);
    scene_->ResizeScene(width_, height_);
    scene_->InitScene();
    sized_ = true;
    return true;
  }

  void Draw(int64_t animClock) {
    if (!window_->MakeContextCurrent()) return;
    // A size change arrives while another window's context is current: it is applied here.
    if (!sized_) scene_->ResizeScene(width_, height_);
    sized_ = true;
    scene_->DrawScene(animClock);
    window_->SwapBuffers();
  }

  // The window's own sizes stay here; the keys and the close request are the render window's.
  bool RenderWindowProc(const WindowEvent& event) override {
    switch (event.kind) {
      case WindowEvent::Kind::Create:
        return true;
      case WindowEvent::Kind::Size:
        width_ = static_cast<int32_t>(event.width & 0xFFFF);
        height_ = static_cast<int32_t>(event.height & 0xFFFF);
        sized_ = false;
        return true;
      case WindowEvent::Kind::Close:
      case WindowEvent::Kind::KeyDown:
      case WindowEvent::Kind::KeyUp:
        return renderWindow_.RenderWindowProc(event);
      case WindowEvent::Kind::Timer:
      case WindowEvent::Kind::Other:
        return false;
    }
    return false;
  }

  // The scene's GL objects go with the context, so the window is closed first.
  void Close() {
    window_.reset();
    scene_.reset();
  }

 private:
  WindowEventHandler& renderWindow_;
  std::unique_ptr<MonitorWindow> window_;
  std::unique_ptr<Scene> scene_;
  int32_t width_, height_;
  bool sized_ = false;
};

MonitorViews::MonitorViews(RenderPlatform& platform, WindowEventHandler& renderWindow, MonitorSceneFactory makeScene)
    : platform_(platform), renderWindow_(renderWindow), makeScene_(std::move(makeScene)) {}

void MonitorViews::Open() {
  const std::vector<MonitorRect> monitors = platform_.Monitors();
  for (size_t i = 1; i < monitors.size(); ++i) {
    auto view = std::make_unique<View>(renderWindow_, monitors[i]);
    if (view->Open(platform_, i, monitors[i], makeScene_)) views_.push_back(std::move(view));
  }
  if (monitors.size() > 1) platform_.MakeRenderContextCurrent();
}

void MonitorViews::DrawFrames(int64_t animClock) {
  if (views_.empty()) return;
  for (auto& view : views_) view->Draw(animClock);
  platform_.MakeRenderContextCurrent();
}

void MonitorViews::Close() {
  for (auto& view : views_) view->Close();
  views_.clear();
}

MonitorViews::~MonitorViews() { Close(); }

}  // namespace vellora::renderer
