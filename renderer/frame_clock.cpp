#include "frame_clock.h"

namespace vellora::renderer {

int64_t AdvanceAnimClock(int64_t animClock, uint64_t elapsedMs) {
  // Elapsed milliseconds reach 2^63 only after 290 million years.
  return (static_cast<int64_t>(elapsedMs) + animClock) / 2;
}

bool MouseMovedFarEnough(ScreenPoint start, ScreenPoint now) {
  const int64_t dx = static_cast<int64_t>(start.x) - now.x;
  const int64_t dy = static_cast<int64_t>(start.y) - now.y;
  return (dx > kMouseMoveLimit || dx < -kMouseMoveLimit) &&
         (dy > kMouseMoveLimit || dy < -kMouseMoveLimit);
}

}  // namespace vellora::renderer
