// An OSMesa context for tests that render the real scene without any display.
#pragma once

#include <GL/osmesa.h>

#include <array>
#include <cstdint>
#include <stdexcept>
#include <vector>

namespace vellora::renderer::testing {

class OffscreenGl {
 public:
  OffscreenGl(int width, int height) : width_(width), height_(height), buffer_(size_t(width) * height * 4) {
    context_ = OSMesaCreateContextExt(OSMESA_RGBA, 16, 0, 0, nullptr);
    if (context_ == nullptr || !OSMesaMakeCurrent(context_, buffer_.data(), GL_UNSIGNED_BYTE, width, height))
      throw std::runtime_error("no OSMesa context");
  }
  ~OffscreenGl() { OSMesaDestroyContext(context_); }
  OffscreenGl(const OffscreenGl&) = delete;
  OffscreenGl& operator=(const OffscreenGl&) = delete;

  int Width() const { return width_; }
  int Height() const { return height_; }

  // RGB of window pixel (x, y), y = 0 the bottom row.
  std::array<uint8_t, 3> Pixel(int x, int y) const {
    const uint8_t* p = &buffer_[(size_t(y) * width_ + x) * 4];
    return {p[0], p[1], p[2]};
  }
  void Finish() const { glFinish(); }
  // The whole picture, RGBA, bottom row first.
  const std::vector<uint8_t>& Pixels() const { return buffer_; }

 private:
  OSMesaContext context_ = nullptr;
  int width_, height_;
  std::vector<uint8_t> buffer_;
};

}  // namespace vellora::renderer::testing
