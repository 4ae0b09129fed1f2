#include "platform/wayland/wayland_desktop.h"

#include <poll.h>
#include <wayland-client.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "wlr-screencopy-unstable-v1-client-protocol.h"

namespace vellora::shell {
namespace {

int MillisecondsLeft(Deadline deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
  return static_cast<int>(std::clamp<int64_t>(left.count(), 0, 60000));
}

// Waits for the connection's socket to be ready for the events given; false at the deadline.
bool PollSocket(wl_display* display, short events, Deadline deadline) {
  for (;;) {
    pollfd socket{wl_display_get_fd(display), events, 0};
    const int ready = poll(&socket, 1, MillisecondsLeft(deadline));
    if (ready > 0) return true;
    if (ready == 0 || errno != EINTR) return false;
  }
}

void OnOutputGeometry(void* data, wl_output*, int32_t x, int32_t y, int32_t, int32_t, int32_t, const char*,
                      const char*, int32_t) {
  auto* output = static_cast<WaylandOutput*>(data);
  output->x = x;
  output->y = y;
}

void OnOutputMode(void* data, wl_output*, uint32_t flags, int32_t width, int32_t height, int32_t) {
  if ((flags & WL_OUTPUT_MODE_CURRENT) == 0) return;
  auto* output = static_cast<WaylandOutput*>(data);
  output->width = width;
  output->height = height;
}

void OnOutputDone(void*, wl_output*) {}
void OnOutputScale(void*, wl_output*, int32_t) {}
void OnOutputName(void*, wl_output*, const char*) {}
void OnOutputDescription(void*, wl_output*, const char*) {}

const wl_output_listener kOutputListener = {OnOutputGeometry, OnOutputMode,  OnOutputDone,
                                            OnOutputScale,    OnOutputName, OnOutputDescription};

}  // namespace

std::unique_ptr<WaylandDesktop> WaylandDesktop::Connect(Deadline deadline) {
  const char* name = std::getenv("WAYLAND_DISPLAY");
  if (name == nullptr || *name == '\0') return nullptr;
  wl_display* display = wl_display_connect(nullptr);
  if (display == nullptr) return nullptr;
  std::unique_ptr<WaylandDesktop> desktop(new WaylandDesktop(display));
  static const wl_registry_listener listener = {OnGlobal, OnGlobalRemove};
  desktop->registry_ = wl_display_get_registry(display);
  wl_registry_add_listener(desktop->registry_, &listener, desktop.get());
  // The first round trip brings the globals, the second the outputs' descriptions.
  if (!desktop->Roundtrip(deadline) || !desktop->Roundtrip(deadline)) return nullptr;
  return desktop;
}

WaylandDesktop::~WaylandDesktop() {
  for (const auto& output : outputs_) wl_output_destroy(output->output);
  if (screenCopy_ != nullptr) zwlr_screencopy_manager_v1_destroy(screenCopy_);
  if (shm_ != nullptr) wl_shm_destroy(shm_);
  if (registry_ != nullptr) wl_registry_destroy(registry_);
  wl_display_disconnect(display_);
}

void WaylandDesktop::OnGlobal(void* data, wl_registry* registry, uint32_t name, const char* interface,
                              uint32_t version) {
  auto* desktop = static_cast<WaylandDesktop*>(data);
  if (std::strcmp(interface, wl_shm_interface.name) == 0 && desktop->shm_ == nullptr) {
    desktop->shm_ = static_cast<wl_shm*>(wl_registry_bind(registry, name, &wl_shm_interface, 1));
  } else if (std::strcmp(interface, zwlr_screencopy_manager_v1_interface.name) == 0 && desktop->screenCopy_ == nullptr) {
    desktop->screenCopy_ = static_cast<zwlr_screencopy_manager_v1*>(
        wl_registry_bind(registry, name, &zwlr_screencopy_manager_v1_interface, 1));
  } else if (std::strcmp(interface, wl_output_interface.name) == 0) {
    auto output = std::make_unique<WaylandOutput>();
    output->output =
        static_cast<wl_output*>(wl_registry_bind(registry, name, &wl_output_interface, std::min<uint32_t>(version, 2)));
    wl_output_add_listener(output->output, &kOutputListener, output.get());
    desktop->outputs_.push_back(std::move(output));
  }
}

const WaylandOutput* WaylandDesktop::PrimaryOutput() const {
  for (const auto& output : outputs_) {
    if (output->x == 0 && output->y == 0) return output.get();
  }
  return outputs_.empty() ? nullptr : outputs_.front().get();
}

bool WaylandDesktop::DispatchUntil(Deadline deadline, const std::function<bool()>& done) {
  while (!done()) {
    // Events already read are handled first; reading waits until the queue is empty.
    while (wl_display_prepare_read(display_) != 0) {
      if (wl_display_dispatch_pending(display_) < 0) return false;
      if (done()) return true;
    }
    while (wl_display_flush(display_) < 0) {
      if (errno != EAGAIN || !PollSocket(display_, POLLOUT, deadline)) {
        wl_display_cancel_read(display_);
        return false;
      }
    }
    if (!PollSocket(display_, POLLIN, deadline)) {
      wl_display_cancel_read(display_);
      return false;
    }
    if (wl_display_read_events(display_) < 0 || wl_display_dispatch_pending(display_) < 0) return false;
  }
  return true;
}

bool WaylandDesktop::Roundtrip(Deadline deadline) {
  bool answered = false;
  static const wl_callback_listener listener = {
      [](void* data, wl_callback*, uint32_t) { *static_cast<bool*>(data) = true; }};
  wl_callback* callback = wl_display_sync(display_);
  wl_callback_add_listener(callback, &listener, &answered);
  const bool ok = DispatchUntil(deadline, [&answered] { return answered; });
  wl_callback_destroy(callback);
  return ok;
}

}  // namespace vellora::shell
