// What an X error does to the renderer. Xlib's own handler prints the error and ends the
// process with exit code 1, which leaves the shell's music playing over nothing; this one
// keeps the renderer's outcomes to the two it has: a failed start ends it quietly with exit
// code 0, and a running renderer goes on.
#pragma once

namespace vellora::renderer {

enum class X11Phase {
  Starting,  // the window and its GL context are being made and shown
  Running,   // the window is up: the loop, the message boxes and the teardown
};

// Installs the handler for the whole process (every display connection, the message box's
// own included). The phase starts as Starting.
void InstallX11ErrorHandler();

// A failed focus request is harmless in either phase (a window manager may map its frame
// after the window, and the window is then not yet viewable). Any other error while Starting
// ends the process at once with exit code 0 and nothing shown; while Running it is ignored.
void SetX11Phase(X11Phase phase);

}  // namespace vellora::renderer
