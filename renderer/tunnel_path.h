// Where the camera is and which tunnel segments stand ahead of it, as a function of the clock.
//
// What the eye sees repeats: the roll after a full turn, the tunnel after one segment length.
// Both are reduced into that one period with exact integer arithmetic on the 64-bit clock before
// anything becomes a float, so the float arguments handed to GL stay small and precise at any
// clock, and a frame after a month is the same frame as the matching one after a few minutes.
#pragma once

#include <cstdint>

namespace vellora::renderer {

inline constexpr int kSegmentCopies = 5;
inline constexpr float kSegmentLength = 4.0f;

// Milliseconds per degree of roll, and per unit travelled down the tunnel.
inline constexpr int64_t kMsPerDegree = 70;
inline constexpr int64_t kMsPerUnit = 400;
// One full turn of the roll, and the time the camera takes to pass one segment length.
inline constexpr int64_t kMsPerTurn = 360 * kMsPerDegree;
inline constexpr int64_t kMsPerSegment = 4 * kMsPerUnit;

// Roll about the viewing axis, in degrees: one degree every 70 ms, reduced to one turn.
float CameraRollDegrees(int64_t animClock);

// How many segment lengths the five copies have moved forward: ((t - 400) / 400) / 4 with both
// divisions truncating toward zero, so it is 0 up to t = 1999.
int64_t SegmentOffset(int64_t animClock);

// The camera's distance down the tunnel (one unit every 400 ms) less the segment lengths the
// copies have moved forward: the camera's place among copies that stand at 4, 8, ... 20.
float CameraTravelPastOffset(int64_t animClock);

}  // namespace vellora::renderer
