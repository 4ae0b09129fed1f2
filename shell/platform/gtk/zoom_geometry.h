// The geometry of the caption-zoom animation: the rectangles of its frames and the bands of
// the outline drawn for each.
#pragma once

#include <vector>

#include "platform/forms_platform.h"

namespace vellora::shell {

// The rectangle of frame `frame` of `frames` (1 .. frames) on the way from `from` to `to`;
// the last frame is `to`.
PixelRect ZoomFrameRect(PixelRect from, PixelRect to, int frame, int frames);

// The rectangles that make up a `thickness`-pixel outline of the rectangle, at most four,
// relative to its top-left corner. A rectangle too small for a hole is one band; a rectangle
// with no area is grown to one pixel so that a point still shows.
std::vector<PixelRect> OutlineBands(PixelRect rect, int thickness);

}  // namespace vellora::shell
