// Where the camera is and which tunnel segments stand ahead of it, as a function of the clock.
#pragma once

#include <cstdint>

namespace vellora::renderer {

inline constexpr int kSegmentCopies = 5;
inline constexpr float kSegmentLength = 4.0f;

// Roll about the viewing axis, in degrees: one degree every 70 ms.
float CameraRollDegrees(int32_t animClock);

// Distance travelled along the tunnel axis: one unit every 400 ms.
float CameraTravel(int32_t animClock);

// How many segment lengths the five copies have moved forward: ((t - 400) / 400) / 4 with both
// divisions truncating toward zero, so it is 0 up to t = 1999.
int32_t SegmentOffset(int32_t animClock);

}  // namespace vellora::renderer
