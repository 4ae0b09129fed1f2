#include "platform/wayland/shm_pixels.h"

#include "platform/canvas.h"

namespace vellora::shell {

bool ShmFormatSupported(uint32_t format) {
  return format == kShmArgb8888 || format == kShmXrgb8888 || format == kShmAbgr8888 || format == kShmXbgr8888;
}

bool CopyShmPixels(const uint8_t* pixels, uint64_t bufferSize, uint32_t format, int32_t width, int32_t height,
                   uint32_t stride, bool yInverted, Canvas& into) {
  if (!ShmFormatSupported(format) || width <= 0 || height <= 0 || stride < uint64_t{4} * static_cast<uint32_t>(width))
    return false;
  if (uint64_t{stride} * static_cast<uint32_t>(height) > bufferSize) return false;
  // The formats name the channels from the most significant bit of a little-endian 32-bit word:
  // ARGB8888 lies in memory as blue, green, red, alpha; ABGR8888 as red, green, blue, alpha.
  // The alpha or padding byte is dropped: the desktop is opaque.
  const bool redFirst = format == kShmAbgr8888 || format == kShmXbgr8888;
  const int red = redFirst ? 0 : 2, blue = redFirst ? 2 : 0;
  into.Resize(width, height);
  uint8_t* target = into.Bytes().data();
  for (int32_t y = 0; y < height; ++y) {
    const int32_t row = yInverted ? height - 1 - y : y;
    const uint8_t* from = pixels + uint64_t{stride} * static_cast<uint32_t>(row);
    for (int32_t x = 0; x < width; ++x, from += 4, target += 3) {
      target[0] = from[red];
      target[1] = from[1];
      target[2] = from[blue];
    }
  }
  return true;
}

}  // namespace vellora::shell
