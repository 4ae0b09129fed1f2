// Vellora.data on Linux: the fog tunnel in a full-screen GLX window, and on every other monitor.
#include "../../fog_tunnel_scene.h"
#include "../../fp_environment.h"
#include "../../renderer_program.h"
#include "monitor_layout.h"
#include "x11_render_platform.h"

int main() {
  using namespace vellora::renderer;
  MaskFloatingPointExceptions();
  X11RenderPlatform platform;
  FogTunnelScene scene(platform);
  RendererProgram program(platform, scene);
  program.CoverOtherMonitors([&platform](size_t monitor) {
    return std::make_unique<FogTunnelScene>(platform, vellora::MonitorSnapshotFileName(monitor));
  });
  program.RunRenderer();
  return 0;
}
