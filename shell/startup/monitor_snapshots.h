// The other monitors' snapshots: the desktop of several monitors copied in one moment, each
// monitor's part saved beside the primary's "Vellora.bmp" under its own name ("Vellora_2.bmp",
// ...), for the renderer's window on that monitor.
#pragma once

#include <string>
#include <vector>

#include "platform/canvas.h"
#include "platform/file_system.h"
#include "platform/forms_platform.h"

namespace vellora::shell {

// Copies the desktop over all the monitors (Monitors(): the primary first) at once and cuts it
// up: the primary's part into primary, every other monitor's into others, in their order. A
// failed copy leaves every picture black at its monitor's size and returns false.
bool CaptureEveryMonitor(FormsPlatform& platform, const std::vector<PixelRect>& monitors, Canvas& primary,
                         std::vector<Canvas>& others);

// Saves others[i] as the snapshot of monitor i + 1 in the folder, readable by the owner only,
// and removes the snapshots of monitors beyond them, left from a desktop that had more.
void SaveOtherMonitorSnapshots(FileSystem& files, const std::string& folder, const std::vector<Canvas>& others);

}  // namespace vellora::shell
