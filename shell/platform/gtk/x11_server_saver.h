// The X server's own screen saver, which would otherwise cover a running session (its timer
// runs on while both of the system's windows are up) or be what a session started at its
// activation (xss-lock, xautolock) copies as the desktop.
#pragma once

// Xlib's display, declared here so that X's macros stay out of the files that include this one.
struct _XDisplay;

namespace vellora::shell {

// Holds the server's saver off for as long as this connection lasts (the server lifts the hold
// when the client goes, however it ends). If the saver is showing, it is taken down and this
// waits until the clients have repainted the desktop, so that a copy of the screen made next
// shows the desktop. DPMS power saving is left to the server. Nothing happens on a server
// without the MIT-SCREEN-SAVER extension.
void HoldX11ServerSaverOff(_XDisplay* display);

}  // namespace vellora::shell
