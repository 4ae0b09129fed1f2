// The snapshot scaled to the power-of-two sides that OpenGL 1.1 textures need, byte for byte as
// GLU's gluBuild2DMipmaps scales it for its level 0, so that a texture of that one level shows
// exactly what the mipmapped texture showed with the plain linear minifying filter.
#pragma once

#include <cstdint>
#include <vector>

namespace vellora::renderer {

// The side GLU rounds an image side to: the power of two whose binary form keeps the side's
// leading bit, or the next one up when the two leading bits are both set (1280 -> 1024,
// 1366 -> 1024, 1080 -> 1024, 768 -> 1024, 1920 -> 2048, 3 -> 4). 0 gives 0.
uint32_t GluPowerOfTwoSide(uint32_t side);

// RGB pixels in rows padded to a multiple of 4 bytes (the default unpack alignment), scaled
// from width x height to outWidth x outHeight with GLU's box filter: its single-precision
// arithmetic in its order, its rounding down, and its quirks (at the right edge it weighs in
// what follows a row's last pixel, the row's padding or the next row's first bytes; in boxes
// four or more source rows tall its side columns drift one pixel right per row). Reads only
// the image's own bytes: past the end of the image, where GLU would read past the end of the
// caller's buffer, it reads zeros. The result has rows padded to 4 bytes.
std::vector<uint8_t> ScaleRgbLikeGlu(const uint8_t* pixels, uint32_t width, uint32_t height, uint32_t outWidth,
                                     uint32_t outHeight);

}  // namespace vellora::renderer
