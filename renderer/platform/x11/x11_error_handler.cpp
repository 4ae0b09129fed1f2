#include "x11_error_handler.h"

#include <X11/Xlib.h>
#include <X11/Xproto.h>

#include <cstdlib>

namespace vellora::renderer {
namespace {

X11Phase phase = X11Phase::Starting;

int OnXError(Display*, XErrorEvent* error) {
  if (error->request_code == X_SetInputFocus) return 0;
  // Nothing of the renderer has been shown yet, and the server takes its windows down with
  // the connection, so ending here undoes the start as a failed step would.
  if (phase == X11Phase::Starting) std::_Exit(0);
  return 0;
}

// The connection lost: the server gone, or the renderer's client killed by another program (as
// xkill does). The server has taken the windows down with it, so the renderer ends as when its
// window is closed. No X call may run here, and the handler must not return.
int OnConnectionLost(Display*) { std::_Exit(0); }

}  // namespace

void InstallX11ErrorHandler() {
  XSetErrorHandler(OnXError);
  XSetIOErrorHandler(OnConnectionLost);
}

void SetX11Phase(X11Phase next) { phase = next; }

}  // namespace vellora::renderer
