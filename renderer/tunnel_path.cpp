#include "tunnel_path.h"

namespace vellora::renderer {

float CameraRollDegrees(int64_t animClock) {
  return static_cast<float>(static_cast<double>(animClock % kMsPerTurn) / static_cast<double>(kMsPerDegree));
}

int64_t SegmentOffset(int64_t animClock) { return (animClock - kMsPerUnit) / kMsPerUnit / 4; }

float CameraTravelPastOffset(int64_t animClock) {
  const int64_t sinceOffset = animClock - SegmentOffset(animClock) * kMsPerSegment;
  return static_cast<float>(static_cast<double>(sinceOffset) / static_cast<double>(kMsPerUnit));
}

}  // namespace vellora::renderer
