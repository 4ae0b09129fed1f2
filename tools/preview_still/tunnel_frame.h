// One frame of the renderer's fog tunnel, drawn offscreen by the renderer's own scene code.
#pragma once

#include <cstdint>
#include <optional>

#include "rgb_image.h"

namespace vellora::tools {

// The tunnel textured with the snapshot, as the renderer draws it at animation clock
// `animClock` into a window of width x height. Nothing when no offscreen GL context can be made.
std::optional<RgbImage> RenderTunnelFrame(const RgbImage& snapshot, int width, int height, int32_t animClock);

}  // namespace vellora::tools
