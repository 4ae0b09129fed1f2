#include "platform/x11/x11_monitors.h"

#include <X11/Xlib.h>
#include <X11/extensions/Xinerama.h>
#include <X11/extensions/Xrandr.h>

namespace vellora {
namespace {

// RandR 1.5 lists monitors as the desktop sees them, also those a user made with
// `xrandr --setmonitor`, and says which one is primary.
bool RandrMonitors(Display* display, std::vector<MonitorRect>& out) {
  int eventBase = 0, errorBase = 0, major = 0, minor = 0;
  if (!XRRQueryExtension(display, &eventBase, &errorBase) || !XRRQueryVersion(display, &major, &minor)) return false;
  if (major < 1 || (major == 1 && minor < 5)) return false;
  int count = 0;
  XRRMonitorInfo* monitors = XRRGetMonitors(display, DefaultRootWindow(display), True, &count);
  if (monitors == nullptr) return false;
  for (int i = 0; i < count; ++i)
    out.push_back({monitors[i].x, monitors[i].y, monitors[i].width, monitors[i].height, monitors[i].primary != 0});
  XRRFreeMonitors(monitors);
  return !out.empty();
}

// Xinerama has no primary: its first screen is taken as one.
bool XineramaMonitors(Display* display, std::vector<MonitorRect>& out) {
  int eventBase = 0, errorBase = 0;
  if (!XineramaQueryExtension(display, &eventBase, &errorBase) || !XineramaIsActive(display)) return false;
  int count = 0;
  XineramaScreenInfo* screens = XineramaQueryScreens(display, &count);
  if (screens == nullptr) return false;
  for (int i = 0; i < count; ++i)
    out.push_back({screens[i].x_org, screens[i].y_org, screens[i].width, screens[i].height, i == 0});
  XFree(screens);
  return !out.empty();
}

}  // namespace

std::vector<MonitorRect> X11Monitors(_XDisplay* display) {
  std::vector<MonitorRect> randr, xinerama;
  if (!RandrMonitors(display, randr)) randr.clear();
  // A server that joins several X screens with Xinerama answers RandR for its first screen
  // alone: there the Xinerama screens, which are more, are the monitors.
  if (!XineramaMonitors(display, xinerama)) xinerama.clear();
  std::vector<MonitorRect> ordered = OrderMonitors(xinerama.size() > randr.size() ? xinerama : randr);
  if (ordered.empty()) {
    const int screen = DefaultScreen(display);
    ordered.push_back({0, 0, DisplayWidth(display, screen), DisplayHeight(display, screen), true});
  }
  return ordered;
}

}  // namespace vellora
