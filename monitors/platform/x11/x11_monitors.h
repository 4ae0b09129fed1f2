// The X server's monitors: RandR 1.5 monitors where the server has them, else the Xinerama
// screens, else the whole X screen as one monitor.
#pragma once

#include <vector>

#include "monitor_layout.h"

struct _XDisplay;

namespace vellora {

// In their order (OrderMonitors); never empty while the display is open.
std::vector<MonitorRect> X11Monitors(_XDisplay* display);

}  // namespace vellora
