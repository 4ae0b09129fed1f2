// Minimal programs doing one step of a screensaver start each, the references the session
// benchmark measures Vellora.scr against. Each prints its figures as key=value lines.
#pragma once

#include <cstdint>

namespace vellora::bench {

// CLOCK_MONOTONIC in nanoseconds, the clock the session probe uses.
int64_t MonotonicNs();

// XGetImage of the whole root window, then the pixels into the bytes of a 24-bit bottom-up
// BMP in one pass. Prints xgetimage_ns and capture_ns (both steps).
int CaptureStep();

// The bytes of `source` written to `target`.tmp with open, write, fsync and close, then renamed
// over `target`. Prints save_ns.
int SaveStep(const char* source, const char* target);

// posix_spawn of `program` with no arguments; prints spawn_ns and child=<pid>, then waits for
// the child and exits with its status.
int SpawnStep(const char* program);

// XQueryPointer on the root every 50 ms for `seconds`, with a 1x1 window mapped so that the
// server moves the pointer on request. Prints ticks.
int PollStep(double seconds);

// Only the 50 ms wake-ups for `seconds`: what waking a process 20 times a second costs on this
// machine, the floor under any 50 ms poll. Prints ticks.
int TickStep(double seconds);

}  // namespace vellora::bench
