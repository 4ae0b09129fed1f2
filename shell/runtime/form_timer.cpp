#include "runtime/form_timer.h"

namespace vellora::shell {

FormTimer::FormTimer(FormsPlatform& platform, uint32_t intervalMs, bool enabled, std::function<void()> onTick)
    : platform_(platform), intervalMs_(intervalMs), onTick_(std::move(onTick)) {
  SetEnabled(enabled);
}

FormTimer::~FormTimer() { Stop(); }

void FormTimer::SetEnabled(bool enabled) {
  enabled_ = enabled;
  // A timer with interval 0 never ticks, enabled or not.
  if (enabled_ && intervalMs_ > 0) Start();
  else Stop();
}

void FormTimer::SetInterval(uint32_t intervalMs) {
  intervalMs_ = intervalMs;
  Stop();
  SetEnabled(enabled_);
}

void FormTimer::Start() {
  if (running_) return;
  timer_ = platform_.StartTimer(intervalMs_, [this] {
    if (enabled_ && onTick_) onTick_();
  });
  running_ = true;
}

void FormTimer::Stop() {
  if (!running_) return;
  platform_.StopTimer(timer_);
  running_ = false;
}

}  // namespace vellora::shell
