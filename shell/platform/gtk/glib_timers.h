// Timers on GLib's main loop: ticks arrive on the user-interface thread between other events.
#pragma once

#include <glib.h>

#include <cstdint>
#include <functional>
#include <map>

#include "platform/forms_platform.h"

namespace vellora::shell {

class GlibTimers {
 public:
  GlibTimers() = default;
  ~GlibTimers();
  GlibTimers(const GlibTimers&) = delete;
  GlibTimers& operator=(const GlibTimers&) = delete;

  TimerId Start(uint32_t intervalMs, std::function<void()> onTick);
  // Safe from inside the timer's own tick; an unknown id is ignored.
  void Stop(TimerId timer);

 private:
  std::map<TimerId, guint> sources_;
  TimerId next_ = 1;
};

}  // namespace vellora::shell
