// The tunnel on every monitor besides the primary: a window, a GL context and a scene of its own
// for each, drawn at the same clock as the render window, with their input and close requests
// handed to the render window's procedure, so that they end the renderer as there.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "render_platform.h"
#include "scene.h"

namespace vellora::renderer {

// The scene for the monitor at this place in the monitor order (1 for the first after the
// primary); its InitScene runs with the monitor window's context current.
using MonitorSceneFactory = std::function<std::unique_ptr<Scene>(size_t monitorIndex)>;

// "Vellora_Tessel_2" for index 1: the render window keeps its title to itself.
std::string MonitorWindowTitle(size_t monitorIndex);

class MonitorViews {
 public:
  MonitorViews(RenderPlatform& platform, WindowEventHandler& renderWindow, MonitorSceneFactory makeScene);
  ~MonitorViews();

  // Opens a window on every monitor but the primary and initialises its scene; a monitor whose
  // window cannot be made stays uncovered. The render window's context is current afterwards.
  void Open();
  bool Empty() const { return views_.empty(); }
  size_t Count() const { return views_.size(); }
  // One frame on each monitor window, then the render window's context is current again.
  void DrawFrames(int64_t animClock);
  void Close();

 private:
  class View;
  RenderPlatform& platform_;
  WindowEventHandler& renderWindow_;
  MonitorSceneFactory makeScene_;
  std::vector<std::unique_ptr<View>> views_;
};

}  // namespace vellora::renderer
