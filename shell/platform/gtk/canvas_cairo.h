// Copies between the runtime's canvases (RGB bytes, top-down, unpadded) and cairo's RGB24
// image surfaces (one native-endian 32-bit word per pixel, 0x00RRGGBB, padded rows).
#pragma once

#include <cairo.h>

#include "platform/forms_platform.h"

namespace vellora::shell {

// A new RGB24 surface holding the area of the canvas (clipped to it); the caller destroys it.
// An empty area gives a 0 x 0 surface.
cairo_surface_t* SurfaceFromCanvas(const Canvas& canvas, PixelRect area);

// Writes an RGB24 surface back into the canvas with its top-left corner at (x, y), clipped.
void CopySurfaceToCanvas(cairo_surface_t* surface, Canvas& canvas, int32_t x, int32_t y);

}  // namespace vellora::shell
