// Vellora.data on Linux: the fog tunnel in a full-screen GLX window.
#include "../../fog_tunnel_scene.h"
#include "../../fp_environment.h"
#include "../../renderer_program.h"
#include "x11_render_platform.h"

int main() {
  using namespace vellora::renderer;
  MaskFloatingPointExceptions();
  X11RenderPlatform platform;
  FogTunnelScene scene(platform);
  RendererProgram program(platform, scene);
  program.RunRenderer();
  return 0;
}
