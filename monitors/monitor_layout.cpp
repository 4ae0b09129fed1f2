#include "monitor_layout.h"

#include <algorithm>

namespace vellora {
namespace {

bool Holds(const MonitorRect& outer, const MonitorRect& inner) {
  return inner.left >= outer.left && inner.top >= outer.top &&
         int64_t{inner.left} + inner.width <= int64_t{outer.left} + outer.width &&
         int64_t{inner.top} + inner.height <= int64_t{outer.top} + outer.height;
}

}  // namespace

std::vector<MonitorRect> OrderMonitors(std::vector<MonitorRect> monitors) {
  // Largest first, so that a monitor lying wholly inside one already kept (a clone showing
  // the same part of the desktop, maybe at a smaller size) is recognised and dropped.
  std::stable_sort(monitors.begin(), monitors.end(), [](const MonitorRect& a, const MonitorRect& b) {
    return int64_t{a.width} * a.height > int64_t{b.width} * b.height;
  });
  std::vector<MonitorRect> kept;
  for (const MonitorRect& m : monitors) {
    if (m.width <= 0 || m.height <= 0) continue;
    const auto holder = std::find_if(kept.begin(), kept.end(), [&m](const MonitorRect& k) { return Holds(k, m); });
    if (holder == kept.end()) {
      kept.push_back(m);
    } else if (m.primary) {
      holder->primary = true;  // the monitor showing a clone of the primary takes its place
    }
  }
  if (kept.empty()) return kept;

  auto primary = std::find_if(kept.begin(), kept.end(), [](const MonitorRect& m) { return m.primary; });
  if (primary == kept.end())
    primary = std::find_if(kept.begin(), kept.end(), [](const MonitorRect& m) { return m.left == 0 && m.top == 0; });
  if (primary == kept.end()) primary = kept.begin();
  std::rotate(kept.begin(), primary, primary + 1);
  for (MonitorRect& m : kept) m.primary = false;
  kept.front().primary = true;
  std::stable_sort(kept.begin() + 1, kept.end(), [](const MonitorRect& a, const MonitorRect& b) {
    return a.left != b.left ? a.left < b.left : a.top < b.top;
  });
  return kept;
}

MonitorRect DesktopBounds(const std::vector<MonitorRect>& monitors) {
  if (monitors.empty()) return {};
  int64_t left = monitors.front().left, top = monitors.front().top;
  int64_t right = left + monitors.front().width, bottom = top + monitors.front().height;
  for (const MonitorRect& m : monitors) {
    left = std::min<int64_t>(left, m.left);
    top = std::min<int64_t>(top, m.top);
    right = std::max<int64_t>(right, int64_t{m.left} + m.width);
    bottom = std::max<int64_t>(bottom, int64_t{m.top} + m.height);
  }
  return {static_cast<int32_t>(left), static_cast<int32_t>(top), static_cast<int32_t>(right - left),
          static_cast<int32_t>(bottom - top), false};
}

std::string MonitorSnapshotFileName(size_t index) {
  if (index == 0) return "Vellora.bmp";
  return "Vellora_" + std::to_string(index + 1) + ".bmp";
}

}  // namespace vellora
