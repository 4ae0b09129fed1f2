// The application-wide busy pointer: while it is on, every window of the forms backend shows
// the hourglass instead of its own cursor, the controls inside them included (their
// WM_SETCURSOR reaches the form's window first).
#pragma once

namespace vellora::shell {

// Switches the hourglass on or off; the pointer changes at once when it lies over one of this
// thread's windows, and elsewhere as soon as it enters one.
void SetApplicationBusy(bool busy);

// For WM_SETCURSOR of the backend's windows: sets the hourglass and answers true while the
// application is busy; false leaves the message to the default handling.
bool ShowBusyCursorIfBusy();

}  // namespace vellora::shell
