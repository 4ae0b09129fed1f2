// Pixel layouts between the runtime's canvases (red, green, blue; rows top to bottom with no
// padding) and the device-independent bitmaps of GDI (blue, green, red, rows padded to four
// bytes). Plain memory work, kept apart from the system calls so that it can be tested anywhere.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/forms_platform.h"

namespace vellora::shell {

class Canvas;

// Bytes per row of a 24-bit bitmap of this width: 3 bytes a pixel, rounded up to 4.
size_t Dib24RowStride(int32_t width);

// The whole canvas as the rows of a top-down 24-bit bitmap.
std::vector<uint8_t> CanvasToDib24(const Canvas& canvas);

// The rows of a top-down 24-bit bitmap (with the given row stride) into a canvas of that size.
void Dib24ToCanvas(const uint8_t* rows, int32_t width, int32_t height, size_t stride, Canvas& into);

// A region of the canvas (inside it) to and from the rows of a top-down 32-bit bitmap of the
// region's size: blue, green, red and an unused byte per pixel, no padding.
void CanvasRegionToDib32(const Canvas& canvas, PixelRect region, uint8_t* rows);
void Dib32ToCanvasRegion(const uint8_t* rows, PixelRect region, Canvas& canvas);

// The canvas scaled to size x size as the rows of a top-down 32-bit icon image: blue, green,
// red and an opaque alpha per pixel. Each pixel is the average of the canvas area it covers,
// so that a small icon keeps the thin lines of a large picture.
std::vector<uint8_t> CanvasToIconBgra(const Canvas& canvas, int32_t size);

}  // namespace vellora::shell
