#include "platform/gtk/x11_server_saver.h"

#include <X11/Xlib.h>
#include <X11/extensions/Xdamage.h>
#include <X11/extensions/scrnsaver.h>
#include <glib.h>
#include <poll.h>

#include <algorithm>

#include "platform/gtk/x11_error_trap.h"

namespace vellora::shell {
namespace {

// Once nothing has been drawn on the screen for this long after the saver went, the clients
// have answered their exposures. One that never stops drawing (a video) is not waited for
// longer than the longest wait.
constexpr gint64 kQuietUs = 150 * 1000;
constexpr gint64 kLongestUs = 1500 * 1000;

// Waits until the screen has been quiet for kQuietUs, kLongestUs at most. Drawing anywhere on
// the screen damages the root window, its windows included.
void WaitUntilDrawn(Display* display, Damage damage, int damageEventBase) {
  const gint64 start = g_get_monotonic_time();
  gint64 lastDrawn = start;
  for (;;) {
    XEvent event;
    bool drawn = false;
    while (XCheckTypedEvent(display, damageEventBase + XDamageNotify, &event)) drawn = true;
    const gint64 now = g_get_monotonic_time();
    if (drawn) {
      // Repaired, so that the next drawing reports again.
      XDamageSubtract(display, damage, None, None);
      XFlush(display);
      lastDrawn = now;
    }
    const gint64 left = std::min(lastDrawn + kQuietUs, start + kLongestUs) - now;
    if (left <= 0) return;
    pollfd connection{ConnectionNumber(display), POLLIN, 0};
    poll(&connection, 1, static_cast<int>((left + 999) / 1000));
  }
}

}  // namespace

void HoldX11ServerSaverOff(_XDisplay* display) {
  int eventBase = 0, errorBase = 0, major = 0, minor = 0;
  if (!XScreenSaverQueryExtension(display, &eventBase, &errorBase) ||
      !XScreenSaverQueryVersion(display, &major, &minor)) {
    return;
  }
  bool showing = false;
  if (XScreenSaverInfo* info = XScreenSaverAllocInfo()) {
    showing = XScreenSaverQueryInfo(display, DefaultRootWindow(display), info) && info->state == ScreenSaverOn;
    XFree(info);
  }
  int damageEventBase = 0, damageErrorBase = 0;
  Damage damage = 0;
  X11ErrorTrap trap(display);
  // Watching starts before the saver goes, so that no repaint is missed.
  if (showing && XDamageQueryExtension(display, &damageEventBase, &damageErrorBase))
    damage = XDamageCreate(display, DefaultRootWindow(display), XDamageReportNonEmpty);
  // Suspending came with version 1.1; the hold also keeps the saver from coming back at once
  // when it is taken down.
  if (major > 1 || (major == 1 && minor >= 1)) XScreenSaverSuspend(display, True);
  if (showing) XForceScreenSaver(display, ScreenSaverReset);
  XFlush(display);
  if (showing && damage != 0) {
    WaitUntilDrawn(display, damage, damageEventBase);
    XDamageDestroy(display, damage);
  } else if (showing) {
    g_usleep(kQuietUs);  // no way to see the repaint: the time a client usually needs
  }
  trap.Succeeded();
}

}  // namespace vellora::shell
