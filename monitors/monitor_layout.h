// The monitors of the desktop, in the one order both programs number them: the primary first
// (its snapshot is "Vellora.bmp"), then the others from left to right, top to bottom (their
// snapshots are "Vellora_2.bmp", "Vellora_3.bmp", ...).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vellora {

// A monitor's rectangle in desktop pixels: X root-window coordinates, or Windows virtual-screen
// coordinates (where monitors left of or above the primary have negative origins).
struct MonitorRect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t width = 0;
  int32_t height = 0;
  bool primary = false;
  bool operator==(const MonitorRect& o) const {
    return left == o.left && top == o.top && width == o.width && height == o.height;
  }
};

// Puts the monitors in their order. Empty rectangles and clones (a rectangle lying wholly
// inside another monitor's, as mirrored outputs report it, at the same or a smaller size) are
// dropped; the monitor holding a dropped primary becomes the primary. The primary is the one
// flagged so; without one, the monitor at the desktop's origin, else the largest. The
// result's first entry is marked primary and no other is.
std::vector<MonitorRect> OrderMonitors(std::vector<MonitorRect> monitors);

// The smallest rectangle holding every monitor (all zero for none).
MonitorRect DesktopBounds(const std::vector<MonitorRect>& monitors);

// The snapshot file of the monitor at this place in the order: index 0 is the primary's
// "Vellora.bmp"; index 1 is "Vellora_2.bmp", and so on.
std::string MonitorSnapshotFileName(size_t index);

}  // namespace vellora
