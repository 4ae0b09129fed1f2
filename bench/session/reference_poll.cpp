// The waiting references: a wake-up every 50 ms, with and without reading the pointer.
#include <X11/Xlib.h>

#include <cstdio>
#include <ctime>
#include <functional>

#include "reference_steps.h"

namespace vellora::bench {
namespace {

// Calls `work` every 50 ms on an absolute schedule for `seconds`; returns the number of calls.
long Every50Ms(double seconds, const std::function<void()>& work) {
  constexpr long kPeriodNs = 50'000'000;
  timespec next{};
  clock_gettime(CLOCK_MONOTONIC, &next);
  const int64_t end = MonotonicNs() + static_cast<int64_t>(seconds * 1e9);
  long ticks = 0;
  while (MonotonicNs() < end) {
    work();
    ++ticks;
    next.tv_nsec += kPeriodNs;
    if (next.tv_nsec >= 1'000'000'000) next.tv_nsec -= 1'000'000'000, ++next.tv_sec;
    clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &next, nullptr);
  }
  return ticks;
}

}  // namespace

int PollStep(double seconds) {
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    std::fprintf(stderr, "poll: cannot open the display\n");
    return 1;
  }
  const Window root = DefaultRootWindow(display);
  // Xvfb moves the pointer for XTest only while a client window is mapped.
  const Window window = XCreateSimpleWindow(display, root, 0, 0, 1, 1, 0, 0, 0);
  XMapWindow(display, window);
  XSync(display, False);
  const long ticks = Every50Ms(seconds, [&] {
    Window rootReturn, child;
    int rootX, rootY, x, y;
    unsigned mask;
    XQueryPointer(display, root, &rootReturn, &child, &rootX, &rootY, &x, &y, &mask);
  });
  XCloseDisplay(display);
  std::printf("ticks=%ld\n", ticks);
  return 0;
}

int TickStep(double seconds) {
  std::printf("ticks=%ld\n", Every50Ms(seconds, [] {}));
  return 0;
}

}  // namespace vellora::bench
