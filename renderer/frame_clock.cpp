#include "frame_clock.h"

namespace vellora::renderer {

int32_t AdvanceAnimClock(int32_t animClock, uint32_t elapsedMs) {
  const int64_t sum = static_cast<int64_t>(elapsedMs) + animClock;
  return static_cast<int32_t>(static_cast<uint32_t>(sum / 2));
}

bool MouseMovedFarEnough(ScreenPoint start, ScreenPoint now) {
  const int64_t dx = static_cast<int64_t>(start.x) - now.x;
  const int64_t dy = static_cast<int64_t>(start.y) - now.y;
  return (dx > kMouseMoveLimit || dx < -kMouseMoveLimit) &&
         (dy > kMouseMoveLimit || dy < -kMouseMoveLimit);
}

}  // namespace vellora::renderer
