// A timer control: an interval in milliseconds, an enabled flag, and a tick handler that runs
// on the user-interface thread between other events.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/forms_platform.h"

namespace vellora::shell {

class FormTimer {
 public:
  FormTimer(FormsPlatform& platform, uint32_t intervalMs, bool enabled, std::function<void()> onTick);
  ~FormTimer();
  FormTimer(const FormTimer&) = delete;
  FormTimer& operator=(const FormTimer&) = delete;

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  uint32_t Interval() const { return intervalMs_; }
  void SetInterval(uint32_t intervalMs);

 private:
  void Start();
  void Stop();

  FormsPlatform& platform_;
  uint32_t intervalMs_;
  bool enabled_ = false;
  std::function<void()> onTick_;
  TimerId timer_ = 0;
  bool running_ = false;
};

}  // namespace vellora::shell
