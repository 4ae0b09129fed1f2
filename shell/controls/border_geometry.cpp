#include "controls/border_geometry.h"

#include "common/number_conversions.h"

namespace vellora::shell {

std::optional<int16_t> Add16(double a, double b) { return RoundToInt16(a + b); }
std::optional<int16_t> Subtract16(double a, double b) { return RoundToInt16(a - b); }

void BorderGeometry::Update(double width, double height) {
  if (const auto v = Subtract16(width, 2 * kCorner)) middleWidth_ = *v;
  if (const auto v = Subtract16(height, 2 * kCorner)) middleHeight_ = *v;
  if (const auto v = Add16(kCorner, middleWidth_)) rightX_ = *v;
  if (const auto v = Add16(kCorner, middleHeight_)) bottomY_ = *v;
}

std::array<BorderPiece, 8> BorderGeometry::Pieces() const {
  constexpr int32_t c = kCorner;
  const int32_t mw = middleWidth_, mh = middleHeight_, rx = rightX_, by = bottomY_;
  return {{
      {{1, 1, c, c}, {0, 0, c, c}},
      {{c, 1, mw, c}, {c, 1, kSourceMiddleWidth, c}},
      {{rx, 1, c, c}, {kSourceRight, 1, c, c}},
      {{rx, c, c, mh}, {kSourceRight, c, c, kSourceMiddleHeight}},
      {{rx, by, c, c}, {kSourceRight, kSourceBottom, c, c}},
      {{c, by, mw, c}, {c, kSourceBottom, kSourceMiddleWidth, c}},
      {{1, by, c, c}, {0, kSourceBottom, c, c}},
      {{1, c, c, mh}, {1, c, c, kSourceMiddleHeight}},
  }};
}

}  // namespace vellora::shell
