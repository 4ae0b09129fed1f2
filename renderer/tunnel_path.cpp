#include "tunnel_path.h"

namespace vellora::renderer {

float CameraRollDegrees(int32_t animClock) { return static_cast<float>(static_cast<double>(animClock) / 70.0); }

float CameraTravel(int32_t animClock) { return static_cast<float>(static_cast<double>(animClock) / 400.0); }

int32_t SegmentOffset(int32_t animClock) {
  // 64-bit so that the subtraction cannot overflow near the bottom of the range.
  const int64_t steps = (static_cast<int64_t>(animClock) - 400) / 400;
  return static_cast<int32_t>(steps / 4);
}

}  // namespace vellora::renderer
