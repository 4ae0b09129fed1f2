#include "platform/wayland/screen_copy.h"

#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>

#include "platform/canvas.h"
#include "platform/wayland/shm_pixels.h"
#include "wlr-screencopy-unstable-v1-client-protocol.h"

namespace vellora::shell {
namespace {

// A buffer in anonymous shared memory that the compositor copies the output into.
class ShmBuffer {
 public:
  ShmBuffer(wl_shm* shm, uint32_t format, int32_t width, int32_t height, uint32_t stride)
      : size_(uint64_t{stride} * static_cast<uint32_t>(height)) {
    const int fd = memfd_create("vellora-screen-copy", MFD_CLOEXEC);
    if (fd < 0) return;
    if (size_ > 0 && size_ <= INT32_MAX && ftruncate(fd, static_cast<off_t>(size_)) == 0) {
      void* pixels = mmap(nullptr, size_, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
      if (pixels != MAP_FAILED) {
        pixels_ = static_cast<uint8_t*>(pixels);
        wl_shm_pool* pool = wl_shm_create_pool(shm, fd, static_cast<int32_t>(size_));
        buffer_ = wl_shm_pool_create_buffer(pool, 0, width, height, static_cast<int32_t>(stride), format);
        wl_shm_pool_destroy(pool);
      }
    }
    close(fd);
  }
  ~ShmBuffer() {
    if (buffer_ != nullptr) wl_buffer_destroy(buffer_);
    if (pixels_ != nullptr) munmap(pixels_, size_);
  }
  ShmBuffer(const ShmBuffer&) = delete;
  ShmBuffer& operator=(const ShmBuffer&) = delete;

  wl_buffer* Buffer() const { return buffer_; }
  const uint8_t* Pixels() const { return pixels_; }
  uint64_t Size() const { return size_; }

 private:
  uint64_t size_;
  uint8_t* pixels_ = nullptr;
  wl_buffer* buffer_ = nullptr;
};

// One frame's progress: the buffer the compositor asks for, then ready or failed.
struct FrameState {
  wl_shm* shm = nullptr;
  zwlr_screencopy_frame_v1* frame = nullptr;
  uint32_t format = 0, stride = 0;
  int32_t width = 0, height = 0;
  std::unique_ptr<ShmBuffer> buffer;
  bool yInverted = false;
  bool ready = false, failed = false;
};

void OnBuffer(void* data, zwlr_screencopy_frame_v1* frame, uint32_t format, uint32_t width, uint32_t height,
              uint32_t stride) {
  auto* state = static_cast<FrameState*>(data);
  if (!ShmFormatSupported(format) || width == 0 || height == 0 || width > 65535 || height > 65535) {
    state->failed = true;
    return;
  }
  state->format = format;
  state->width = static_cast<int32_t>(width);
  state->height = static_cast<int32_t>(height);
  state->stride = stride;
  state->buffer = std::make_unique<ShmBuffer>(state->shm, format, state->width, state->height, stride);
  if (state->buffer->Buffer() == nullptr) {
    state->failed = true;
    return;
  }
  zwlr_screencopy_frame_v1_copy(frame, state->buffer->Buffer());
}

void OnFlags(void* data, zwlr_screencopy_frame_v1*, uint32_t flags) {
  static_cast<FrameState*>(data)->yInverted = (flags & ZWLR_SCREENCOPY_FRAME_V1_FLAGS_Y_INVERT) != 0;
}

void OnReady(void* data, zwlr_screencopy_frame_v1*, uint32_t, uint32_t, uint32_t) {
  static_cast<FrameState*>(data)->ready = true;
}

void OnFailed(void* data, zwlr_screencopy_frame_v1*) { static_cast<FrameState*>(data)->failed = true; }

const zwlr_screencopy_frame_v1_listener kFrameListener = {OnBuffer, OnFlags, OnReady, OnFailed};

}  // namespace

bool CaptureWithScreenCopy(WaylandDesktop& desktop, Deadline deadline, Canvas& into) {
  const WaylandOutput* output = desktop.PrimaryOutput();
  if (desktop.ScreenCopy() == nullptr || desktop.Shm() == nullptr || output == nullptr) return false;
  FrameState state;
  state.shm = desktop.Shm();
  state.frame = zwlr_screencopy_manager_v1_capture_output(desktop.ScreenCopy(), /*overlay_cursor=*/0, output->output);
  zwlr_screencopy_frame_v1_add_listener(state.frame, &kFrameListener, &state);
  const bool answered = desktop.DispatchUntil(deadline, [&state] { return state.ready || state.failed; });
  bool copied = false;
  if (answered && state.ready && state.buffer) {
    copied = CopyShmPixels(state.buffer->Pixels(), state.buffer->Size(), state.format, state.width, state.height,
                           state.stride, state.yInverted, into);
  }
  zwlr_screencopy_frame_v1_destroy(state.frame);
  return copied;
}

}  // namespace vellora::shell
