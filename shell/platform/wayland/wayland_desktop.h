// A connection of the shell's own to the Wayland compositor named by WAYLAND_DISPLAY: the
// globals it offers (shared memory, screen copy) and its outputs, with waits that end at a
// deadline instead of blocking on a compositor that does not answer.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

struct wl_display;
struct wl_registry;
struct wl_shm;
struct wl_output;
struct zwlr_screencopy_manager_v1;

namespace vellora::shell {

using Deadline = std::chrono::steady_clock::time_point;

struct WaylandOutput {
  wl_output* output = nullptr;
  int32_t x = 0, y = 0;           // position in the compositor's layout
  int32_t width = 0, height = 0;  // current mode, in pixels
};

class WaylandDesktop {
 public:
  // Null when there is no Wayland session or the compositor did not tell its globals and
  // outputs by the deadline.
  static std::unique_ptr<WaylandDesktop> Connect(Deadline deadline);
  ~WaylandDesktop();
  WaylandDesktop(const WaylandDesktop&) = delete;
  WaylandDesktop& operator=(const WaylandDesktop&) = delete;

  wl_display* Display() const { return display_; }
  wl_shm* Shm() const { return shm_; }
  zwlr_screencopy_manager_v1* ScreenCopy() const { return screenCopy_; }
  // The output at the layout's origin, where desktops put the primary one; else the first
  // announced. Null when the compositor has none.
  const WaylandOutput* PrimaryOutput() const;

  // Sends what is queued and handles the compositor's events until done() is true; false when
  // the deadline passes first or the connection breaks.
  bool DispatchUntil(Deadline deadline, const std::function<bool()>& done);
  // Waits until the compositor has handled every request sent so far.
  bool Roundtrip(Deadline deadline);

 private:
  explicit WaylandDesktop(wl_display* display) : display_(display) {}
  static void OnGlobal(void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t version);
  static void OnGlobalRemove(void*, wl_registry*, uint32_t) {}

  wl_display* display_;
  wl_registry* registry_ = nullptr;
  wl_shm* shm_ = nullptr;
  zwlr_screencopy_manager_v1* screenCopy_ = nullptr;
  // Pointers into the list are handed to the output listener, so each output lives on the heap.
  std::vector<std::unique_ptr<WaylandOutput>> outputs_;
};

}  // namespace vellora::shell
