// Pixels the compositor wrote into shared memory, in one of wl_shm's 32-bit formats, copied
// into a canvas's red, green, blue rows.
#pragma once

#include <cstdint>

namespace vellora::shell {

class Canvas;

// wl_shm's format codes: the two that every compositor supports have codes of their own, the
// others are DRM fourcc codes.
constexpr uint32_t kShmArgb8888 = 0;
constexpr uint32_t kShmXrgb8888 = 1;
constexpr uint32_t kShmAbgr8888 = 0x34324241;  // 'AB24'
constexpr uint32_t kShmXbgr8888 = 0x34324258;  // 'XB24'

bool ShmFormatSupported(uint32_t format);

// Copies a width x height picture with the given row stride into the canvas (resized to it).
// Rows run top to bottom unless yInverted. False for a format that is not supported or a
// buffer too small for the sizes given.
bool CopyShmPixels(const uint8_t* pixels, uint64_t bufferSize, uint32_t format, int32_t width, int32_t height,
                   uint32_t stride, bool yInverted, Canvas& into);

}  // namespace vellora::shell
