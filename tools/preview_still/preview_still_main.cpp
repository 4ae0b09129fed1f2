// Makes the shell's preview still: one frame of the fog tunnel over a sample desktop, at the
// size of the display settings' little preview monitor, written as a PNG file.
//
// Regenerate the committed asset with
//   cmake --build --preset linux --target preview_still_asset
// which runs: preview_still shell/assets/preview_still.png
#include <cstdio>

#include "png_file.h"
#include "sample_desktop.h"
#include "tunnel_frame.h"

namespace {

constexpr int kStillWidth = 152;
constexpr int kStillHeight = 112;
constexpr int kDesktopWidth = 640;
constexpr int kDesktopHeight = 480;
// The camera 2.75 units short of the first end wall, which fills the middle of the picture with
// the desktop seen through the fog, framed by the walls, and turned 18.6 degrees about the
// viewing axis.
constexpr int32_t kAnimClock = 1300;

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT.png\n", argv[0]);
    return 2;
  }
  using namespace vellora::tools;
  const RgbImage desktop = DrawSampleDesktop(kDesktopWidth, kDesktopHeight);
  const std::optional<RgbImage> frame = RenderTunnelFrame(desktop, kStillWidth, kStillHeight, kAnimClock);
  if (!frame) {
    std::fprintf(stderr, "preview_still: no offscreen GL context\n");
    return 1;
  }
  if (!WritePng(*frame, argv[1])) {
    std::fprintf(stderr, "preview_still: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
