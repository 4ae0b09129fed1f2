// Where the eight pieces of a button's border go: four corners of the state picture kept at
// their size and four edges stretched along their length, all in twips. The lengths are
// 16-bit signed numbers; a length that leaves that range is not taken, and the pieces keep
// the length of the paint before.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace vellora::shell {

// a + b and a - b in the 16-bit signed range; none on an overflow.
std::optional<int16_t> Add16(double a, double b);
std::optional<int16_t> Subtract16(double a, double b);

// A rectangle in twips: left, top, width, height.
struct TwipsBox {
  int32_t x = 0, y = 0, width = 0, height = 0;
  bool operator==(const TwipsBox& o) const { return x == o.x && y == o.y && width == o.width && height == o.height; }
};

struct BorderPiece {
  TwipsBox destination;  // on the button
  TwipsBox source;       // in the state picture's own twips (15 per pixel)
};

class BorderGeometry {
 public:
  // The state pictures: 64 x 25 pixels, of which the outer 4 (60 twips) form the border.
  static constexpr int32_t kCorner = 60;
  static constexpr int32_t kPictureWidth = 960, kPictureHeight = 375;
  static constexpr int32_t kSourceMiddleWidth = kPictureWidth - 2 * kCorner;    // 840
  static constexpr int32_t kSourceMiddleHeight = kPictureHeight - 2 * kCorner;  // 255
  static constexpr int32_t kSourceRight = kSourceMiddleWidth + kCorner;         // 900
  static constexpr int32_t kSourceBottom = kCorner + kSourceMiddleHeight;       // 315

  // Works the lengths out for a button of width x height twips. Each length is its own step:
  // one that overflows keeps its value from before (0 in a new geometry).
  void Update(double width, double height);

  int16_t MiddleWidth() const { return middleWidth_; }
  int16_t MiddleHeight() const { return middleHeight_; }
  int16_t RightX() const { return rightX_; }
  int16_t BottomY() const { return bottomY_; }

  // The pieces in drawing order: top-left, top, top-right, right, bottom-right, bottom,
  // bottom-left, left. The top-left corner, the top row and the left column start 1 twip in.
  std::array<BorderPiece, 8> Pieces() const;

 private:
  int16_t middleWidth_ = 0, middleHeight_ = 0, rightX_ = 0, bottomY_ = 0;
};

}  // namespace vellora::shell
