// The desktop's picture from a Wayland compositor. Under a Wayland session the X root window
// that XWayland offers holds only the X programs' windows, so the picture of the desktop has to
// come from the compositor itself: through the wlroots screen-copy protocol where the
// compositor offers it, otherwise through the desktop portal's Screenshot call.
#pragma once

#include "platform/forms_platform.h"

namespace vellora::shell {

class Canvas;

enum class CompositorCapture {
  Captured,    // the primary output's picture is in the canvas
  Failed,      // the compositor was asked and failed or refused: the picture stays blank
  NotOffered,  // no Wayland session, or neither way is offered: the X root is what is left
};

// True where the session runs under a Wayland compositor (WAYLAND_DISPLAY is set), whose
// XWayland the shell's X connection goes to.
bool UnderWaylandCompositor();

// Fills the canvas (resized to the picture) with the primary output's picture. Every wait on
// the compositor and the portal is bounded; a compositor that does not answer counts as failed.
CompositorCapture CaptureFromCompositor(Canvas& into);

// The message for a Wayland session without XWayland, in plain words; empty when there is an
// X display to use or no Wayland session.
std::string MissingXWaylandMessage();

}  // namespace vellora::shell
