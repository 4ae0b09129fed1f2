// Vellora.data on Windows: the fog tunnel in a full-screen WGL window.
#include <windows.h>

#include "../../fog_tunnel_scene.h"
#include "../../fp_environment.h"
#include "../../renderer_program.h"
#include "win32_render_platform.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  using namespace vellora::renderer;
  MaskFloatingPointExceptions();
  Win32RenderPlatform platform;
  FogTunnelScene scene(platform);
  RendererProgram program(platform, scene);
  program.RunRenderer();
  ExitProcess(0);
}
