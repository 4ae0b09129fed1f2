// The renderer's per-frame arithmetic: the smoothed animation clock and the mouse-move end test.
#pragma once

#include <cstdint>

#include "render_platform.h"

namespace vellora::renderer {

// Halves the clock's distance to the time elapsed since the loop began, truncating toward
// zero. Both are 64-bit milliseconds, so the clock neither wraps nor turns negative however
// long the renderer runs.
int64_t AdvanceAnimClock(int64_t animClock, uint64_t elapsedMs);

// Farther than this on both axes from the start point ends the show.
constexpr int32_t kMouseMoveLimit = 30;

// True when the cursor is more than kMouseMoveLimit pixels away on both axes.
bool MouseMovedFarEnough(ScreenPoint start, ScreenPoint now);

}  // namespace vellora::renderer
