// The end of the session on Linux: the session manager, init or a terminal ends a program with
// SIGTERM, SIGHUP or SIGINT.
#pragma once

#include <functional>

namespace vellora::shell {

// Hands each of the three signals over to the GLib main loop (no work is done inside the
// signal handler), where onEnd runs once and the process then ends with exit code 0.
void WatchSessionEndSignals(std::function<void()> onEnd);

}  // namespace vellora::shell
