#include "platform/gtk/glib_timers.h"

#include <algorithm>

namespace vellora::shell {

namespace {
// The shortest interval, as on Windows (USER_TIMER_MINIMUM).
constexpr uint32_t kMinimumIntervalMs = 10;

gboolean Tick(gpointer onTick) {
  // GLib holds the callback's data until the dispatch is over, so the handler may stop its
  // own timer here.
  (*static_cast<std::function<void()>*>(onTick))();
  return G_SOURCE_CONTINUE;
}

void Release(gpointer onTick) { delete static_cast<std::function<void()>*>(onTick); }
}  // namespace

GlibTimers::~GlibTimers() {
  for (const auto& [id, source] : sources_) g_source_remove(source);
}

TimerId GlibTimers::Start(uint32_t intervalMs, std::function<void()> onTick) {
  const TimerId id = next_++;
  if (next_ == 0) next_ = 1;
  auto* callback = new std::function<void()>(std::move(onTick));
  sources_[id] = g_timeout_add_full(G_PRIORITY_DEFAULT, std::max(intervalMs, kMinimumIntervalMs), Tick, callback,
                                    Release);
  return id;
}

void GlibTimers::Stop(TimerId timer) {
  const auto found = sources_.find(timer);
  if (found == sources_.end()) return;
  const guint source = found->second;
  sources_.erase(found);
  g_source_remove(source);
}

}  // namespace vellora::shell
