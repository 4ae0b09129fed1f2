#include "runtime/picture_controls.h"

#include <algorithm>

namespace vellora::shell {

void ImageControl::SetPicture(const Canvas& picture) {
  picture_ = picture;
  Invalidate();
}

void ImageControl::Paint(Canvas& canvas) {
  const PixelRect box = PixelBounds();
  const int32_t width = std::min(box.Width(), picture_.Width());
  const int32_t height = std::min(box.Height(), picture_.Height());
  canvas.StretchCopy(picture_, {0, 0, width, height}, {box.left, box.top, box.left + width, box.top + height});
}

void ShapeControl::Paint(Canvas& canvas) { canvas.FrameRect(PixelBounds(), border_); }

}  // namespace vellora::shell
