// The renderer's life: open the window and GL context, run the message and frame loop, close.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>

#include "monitor_views.h"
#include "render_platform.h"
#include "scene.h"

namespace vellora::renderer {

inline constexpr const char* kRenderWindowTitle = "Vellora_Tessel";
inline constexpr uint32_t kTitleTimerId = 1;
inline constexpr uint32_t kTitleTimerIntervalMs = 500;
inline constexpr uint32_t kEscapeKey = 27;

class RendererProgram : public WindowEventHandler {
 public:
  RendererProgram(RenderPlatform& platform, Scene& scene) : platform_(platform), scene_(scene) {}

  ~RendererProgram() override;

  // Open, loop, close. Returns 0 (also at once when the window cannot be opened).
  int RunRenderer();

  // Also draws the tunnel on every other monitor, each with the scene made for it. The windows
  // open after the render window's first frame, so that this frame comes as soon as before.
  void CoverOtherMonitors(MonitorSceneFactory makeScene);

  // Creates window and GL context, shows and focuses it, sizes the scene and initialises it.
  // On any failure undoes what was done and returns false.
  bool OpenRenderWindow();
  void CloseRenderWindow();

  bool RenderWindowProc(const WindowEvent& event) override;

  int64_t AnimClock() const { return animClock_; }
  bool KeyDown(uint32_t key) const { return key < keyState_.size() && keyState_[key]; }
  int32_t WindowWidth() const { return windowWidth_; }
  int32_t WindowHeight() const { return windowHeight_; }

 private:
  // Draws one frame and reports whether the loop should end.
  bool DrawFrameAndTestEnd(uint64_t startTick);
  // Whether the pointer is far enough from where it was first seen.
  bool MouseMovedFromStart();

  RenderPlatform& platform_;
  Scene& scene_;
  std::array<bool, 256> keyState_{};
  // Set by a key-down of Escape and never cleared: a tap whose key-up arrives before the next
  // frame (both in one frame's time) still ends the renderer at the next end test.
  bool escapePressed_ = false;
  int64_t animClock_ = 0;
  // Where the pointer was first seen: at the start, or where the system first could tell.
  std::optional<ScreenPoint> mouseStartPos_;
  int32_t windowWidth_ = 0;
  int32_t windowHeight_ = 0;
  bool contextCreated_ = false;
  std::unique_ptr<MonitorViews> otherMonitors_;
};

}  // namespace vellora::renderer
