// The monitors Windows reports (EnumDisplayMonitors), in virtual-screen coordinates.
#pragma once

#include <vector>

#include "monitor_layout.h"

namespace vellora {

// In their order (OrderMonitors); the primary is at (0, 0). Never empty: without an answer,
// the primary screen's size.
std::vector<MonitorRect> Win32Monitors();

}  // namespace vellora
