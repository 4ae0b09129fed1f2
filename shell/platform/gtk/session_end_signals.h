// The end of the session on Linux: the session manager, init or a terminal ends a program with
// SIGTERM, SIGHUP or SIGINT, at any moment from its start on.
#pragma once

#include <functional>

namespace vellora::shell {

// Catches the three signals from now on. No work is done inside the signal handler: it notes
// the request, and the GLib main loop, the next time it runs, runs the watch's onEnd (if one
// was given) and ends the process with exit code 0.
void CatchSessionEndSignals();

// Asks for the end as the signals do, from the program itself.
void RequestSessionEnd();

// True once one of the signals has arrived, also while no loop runs to act on it.
bool SessionEndSignalled();

// What the loop runs at the end, once; replaces any earlier one.
void WatchSessionEndSignals(std::function<void()> onEnd);

}  // namespace vellora::shell
