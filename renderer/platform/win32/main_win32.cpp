// Vellora.data on Windows: the fog tunnel in a full-screen WGL window, and on every other monitor.
#include <windows.h>

#include "../../fog_tunnel_scene.h"
#include "../../fp_environment.h"
#include "../../renderer_program.h"
#include "monitor_layout.h"
#include "win32_render_platform.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  using namespace vellora::renderer;
  MaskFloatingPointExceptions();
  Win32RenderPlatform platform;
  FogTunnelScene scene(platform);
  RendererProgram program(platform, scene);
  program.CoverOtherMonitors([&platform](size_t monitor) {
    return std::make_unique<FogTunnelScene>(platform, vellora::MonitorSnapshotFileName(monitor));
  });
  program.RunRenderer();
  ExitProcess(0);
}
