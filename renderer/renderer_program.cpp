#include "renderer_program.h"

#include "frame_clock.h"

namespace vellora::renderer {

RendererProgram::~RendererProgram() = default;

void RendererProgram::CoverOtherMonitors(MonitorSceneFactory makeScene) {
  otherMonitors_ = std::make_unique<MonitorViews>(platform_, *this, std::move(makeScene));
}

bool RendererProgram::OpenRenderWindow() {
  if (!platform_.RegisterWindowClass()) return false;

  const ScreenMetrics metrics = platform_.QueryScreenMetrics();
  windowWidth_ = metrics.maximisedWidth;
  windowHeight_ = metrics.maximisedHeight + metrics.captionHeight;

  const auto fail = [this] {
    CloseRenderWindow();
    return false;
  };
  if (!platform_.CreateRenderWindow(kRenderWindowTitle, metrics.originX, metrics.originY, windowWidth_,
                                    windowHeight_, *this))
    return fail();
  if (!platform_.AcquireDeviceContext()) return fail();
  const int format = platform_.ChoosePixelFormat();
  if (format == 0) return fail();
  if (!platform_.SetPixelFormat(format)) return fail();
  if (!platform_.CreateGLContext()) return fail();
  contextCreated_ = true;
  if (!platform_.MakeContextCurrent()) return fail();

  platform_.StartTimer(kTitleTimerId, kTitleTimerIntervalMs);
  platform_.ShowAndFocusWindow();

  scene_.ResizeScene(windowWidth_, windowHeight_);
  scene_.InitScene();  // ends the process with exit code 1 when the snapshot cannot be loaded
  return true;
}

void RendererProgram::CloseRenderWindow() {
  if (contextCreated_) {
    // Detach first so the context is not current while it is deleted; it is deleted either way
    // so that no GL context outlives the window.
    platform_.DetachContext();
    platform_.DeleteGLContext();
    contextCreated_ = false;
  }
  if (platform_.HasDeviceContext()) platform_.ReleaseDeviceContext();
  if (platform_.HasWindow()) platform_.DestroyRenderWindow();
  platform_.UnregisterWindowClass();
}

bool RendererProgram::DrawFrameAndTestEnd(uint64_t startTick) {
  const uint64_t elapsed = platform_.TickCount() - startTick;
  animClock_ = AdvanceAnimClock(animClock_, elapsed);
  scene_.DrawScene(animClock_);
  platform_.SwapBuffers();
  if (otherMonitors_) otherMonitors_->DrawFrames(animClock_);
  if (escapePressed_) return true;
  return MouseMovedFromStart();
}

bool RendererProgram::MouseMovedFromStart() {
  const std::optional<ScreenPoint> now = platform_.CursorPosition();
  if (!now) return false;
  if (!mouseStartPos_) {
    mouseStartPos_ = now;
    return false;
  }
  return MouseMovedFarEnough(*mouseStartPos_, *now);
}

int RendererProgram::RunRenderer() {
  if (!OpenRenderWindow()) return 0;

  mouseStartPos_ = platform_.CursorPosition();
  platform_.ShowCursor(false);
  const uint64_t startTick = platform_.TickCount();

  bool otherMonitorsOpen = false;
  for (bool done = false; !done;) {
    switch (platform_.PumpOneMessage()) {
      case PumpResult::Quit:
        done = true;
        break;
      case PumpResult::Dispatched:
        break;  // one message per pass; no frame in this pass
      case PumpResult::QueueEmpty:
        done = DrawFrameAndTestEnd(startTick);
        if (!done && otherMonitors_ && !otherMonitorsOpen) {
          otherMonitors_->Open();
          otherMonitorsOpen = true;
        }
        break;
    }
  }

  if (otherMonitors_) otherMonitors_->Close();
  platform_.ShowCursor(true);
  CloseRenderWindow();
  return 0;
}

bool RendererProgram::RenderWindowProc(const WindowEvent& event) {
  switch (event.kind) {
    case WindowEvent::Kind::Create:
      return true;
    case WindowEvent::Kind::Size:
      scene_.ResizeScene(static_cast<int32_t>(event.width & 0xFFFF),
                         static_cast<int32_t>(event.height & 0xFFFF));
      return true;
    case WindowEvent::Kind::Close:
      // The window is not destroyed here: the loop ends when the quit message is taken.
      platform_.PostQuit();
      return true;
    case WindowEvent::Kind::KeyDown:
    case WindowEvent::Kind::KeyUp:
      if (event.key < keyState_.size())
        keyState_[event.key] = event.kind == WindowEvent::Kind::KeyDown;
      if (event.key == kEscapeKey && event.kind == WindowEvent::Kind::KeyDown) escapePressed_ = true;
      return true;
    case WindowEvent::Kind::Timer:
      if (event.timerId != kTitleTimerId) return false;
      platform_.SetWindowTitle(kRenderWindowTitle);
      return true;
    case WindowEvent::Kind::Other:
      return false;
  }
  return false;
}

}  // namespace vellora::renderer
