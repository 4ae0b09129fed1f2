// The contract every effect of the renderer keeps: reshape, one-time init, one frame per call.
#pragma once

#include <cstdint>

namespace vellora::renderer {

class Scene {
 public:
  virtual ~Scene() = default;
  // Viewport and projection for a window of the given size. May run before InitScene.
  virtual void ResizeScene(int32_t width, int32_t height) = 0;
  // One-time GL state and resources; the GL context is current.
  virtual void InitScene() = 0;
  // Draws one frame into the back buffer at the given animation clock (milliseconds).
  virtual void DrawScene(int64_t animClock) = 0;
};

}  // namespace vellora::renderer
