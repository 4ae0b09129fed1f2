// Timers on GLib's main loop, run here by hand without a display.
#include "platform/gtk/glib_timers.h"

#include <gtest/gtest.h>

#include <vector>

namespace vellora::shell {
namespace {

// Runs the default main context for about this long.
void RunFor(int milliseconds) {
  bool done = false;
  const guint stop = g_timeout_add(static_cast<guint>(milliseconds), [](gpointer flag) {
    *static_cast<bool*>(flag) = true;
    return G_SOURCE_REMOVE;
  }, &done);
  while (!done) g_main_context_iteration(nullptr, TRUE);
  (void)stop;
}

TEST(GtkGlibTimers, TicksRepeatUntilStopped) {
  GlibTimers timers;
  int ticks = 0;
  const TimerId id = timers.Start(20, [&] { ++ticks; });
  RunFor(130);
  EXPECT_GE(ticks, 3);
  timers.Stop(id);
  const int stoppedAt = ticks;
  RunFor(80);
  EXPECT_EQ(ticks, stoppedAt);
}

TEST(GtkGlibTimers, ATimerMayStopItselfAndOthersInItsTick) {
  GlibTimers timers;
  int first = 0, second = 0;
  TimerId a = 0, b = 0;
  b = timers.Start(15, [&] { ++second; });
  a = timers.Start(10, [&] {
    ++first;
    timers.Stop(a);
    timers.Stop(b);
  });
  RunFor(100);
  EXPECT_EQ(first, 1);
  EXPECT_LE(second, 1);
}

TEST(GtkGlibTimers, IdsAreDistinctAndUnknownIdsAreIgnored) {
  GlibTimers timers;
  std::vector<TimerId> ids;
  for (int i = 0; i < 5; ++i) ids.push_back(timers.Start(1000, [] {}));
  for (size_t i = 0; i < ids.size(); ++i) {
    EXPECT_NE(ids[i], 0u);
    for (size_t j = 0; j < i; ++j) EXPECT_NE(ids[i], ids[j]);
  }
  timers.Stop(ids[2]);
  timers.Stop(ids[2]);  // twice
  timers.Stop(0);
  timers.Stop(999999);
}

TEST(GtkGlibTimers, DestroyingTheTimersStopsEveryTick) {
  int ticks = 0;
  {
    GlibTimers timers;
    timers.Start(10, [&] { ++ticks; });
    timers.Start(10, [&] { ++ticks; });
  }
  RunFor(60);
  EXPECT_EQ(ticks, 0);
}

}  // namespace
}  // namespace vellora::shell
