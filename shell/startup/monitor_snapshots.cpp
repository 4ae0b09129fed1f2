#include "startup/monitor_snapshots.h"

#include <algorithm>
#include <cstring>

#include "monitor_layout.h"
#include "runtime/bitmap_file.h"

namespace vellora::shell {
namespace {

// The part of the desktop picture (whose top-left is the desktop point origin) that a monitor
// covers, row by row.
void CutOut(const Canvas& desktop, PixelPoint origin, PixelRect monitor, Canvas& into) {
  into.Resize(monitor.Width(), monitor.Height());
  const int32_t left = monitor.left - origin.x, top = monitor.top - origin.y;
  const int32_t width = std::min(monitor.Width(), desktop.Width() - left);
  if (left < 0 || top < 0 || width <= 0) return;
  for (int32_t y = 0; y < monitor.Height() && top + y < desktop.Height(); ++y) {
    const uint8_t* from = desktop.Bytes().data() + (static_cast<size_t>(top + y) * desktop.Width() + left) * 3;
    std::memcpy(into.Bytes().data() + static_cast<size_t>(y) * monitor.Width() * 3, from, static_cast<size_t>(width) * 3);
  }
}

}  // namespace

bool CaptureEveryMonitor(FormsPlatform& platform, const std::vector<PixelRect>& monitors, Canvas& primary,
                         std::vector<Canvas>& others) {
  PixelRect bounds = monitors.front();
  for (const PixelRect& m : monitors) {
    bounds.left = std::min(bounds.left, m.left);
    bounds.top = std::min(bounds.top, m.top);
    bounds.right = std::max(bounds.right, m.right);
    bounds.bottom = std::max(bounds.bottom, m.bottom);
  }
  Canvas desktop;
  const bool copied = platform.CaptureDesktopArea(bounds, desktop);
  if (!copied) desktop.Resize(0, 0);
  const PixelPoint origin{bounds.left, bounds.top};
  CutOut(desktop, origin, monitors.front(), primary);
  others.resize(monitors.size() - 1);
  for (size_t i = 1; i < monitors.size(); ++i) CutOut(desktop, origin, monitors[i], others[i - 1]);
  return copied;
}

void SaveOtherMonitorSnapshots(FileSystem& files, const std::string& folder, const std::vector<Canvas>& others) {
  for (size_t i = 0; i < others.size(); ++i)
    SaveBitmap24(files, others[i], folder + "\\" + MonitorSnapshotFileName(i + 1), /*ownerOnly=*/true);
  for (size_t i = others.size() + 1;; ++i) {
    const std::string stale = folder + "\\" + MonitorSnapshotFileName(i);
    if (!files.CanOpenForReading(stale)) break;
    files.RemoveFile(stale);
  }
}

}  // namespace vellora::shell
