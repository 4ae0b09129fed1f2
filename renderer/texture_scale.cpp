#include "texture_scale.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace vellora::renderer {
namespace {

constexpr size_t kPixel = 3;  // red, green, blue bytes

size_t PaddedRow(uint32_t width) { return (static_cast<size_t>(width) * kPixel + 3) & ~size_t{3}; }

// Where one texel's box begins and ends along one axis: the source pixel each edge lies in and
// how far into it. GLU steps the edges by the scale factor in single precision, row after row
// and texel after texel; an edge that lands exactly on a pixel boundary stays in the pixel
// before it with a fraction of 1.
struct BoxSpan {
  int32_t low = 0;
  float lowPart = 0;
  int32_t high = 0;
  float highPart = 0;
};

std::vector<BoxSpan> BoxSpans(uint32_t in, uint32_t out, bool clampToLastPixel) {
  const float factor = static_cast<float>(in) / static_cast<float>(out);
  const auto factorWhole = static_cast<int32_t>(std::floor(factor));
  const float factorPart = factor - static_cast<float>(factorWhole);
  std::vector<BoxSpan> spans(out);
  BoxSpan span{0, 0, factorWhole, factorPart};
  for (BoxSpan& next : spans) {
    // Rows are kept inside the image; columns are not, and so the last texel of a row may
    // weigh in a pixel past the row's end, which is its padding or the next row.
    if (clampToLastPixel && span.high >= static_cast<int32_t>(in)) span.high = static_cast<int32_t>(in) - 1;
    next = span;
    span.low = span.high;
    span.lowPart = span.highPart;
    span.high += factorWhole;
    span.highPart += factorPart;
    if (span.highPart > 1) {
      span.highPart -= 1;
      ++span.high;
    }
  }
  return spans;
}

// A pixel's red, green and blue as floats in the first three of four lanes (the fourth is
// zero and never stored). Each lane is computed on its own in single precision, so the lanes
// give what three separate float sums give.
using Lanes = float __attribute__((vector_size(16)));
using FourInts = int32_t __attribute__((vector_size(16)));

// The source rows that one row of texels reads, converted to floats once each. A row holds
// more pixels than the image is wide: GLU reads on past a row's last pixel at the right edge
// (with a weight of 0, or a sliver where its stepped edges overshoot) and where its side
// columns drift, and what it finds there is the row's padding and the next row's first bytes,
// or zero past the end of the image.
class FloatRows {
 public:
  FloatRows(const uint8_t* pixels, uint32_t width, uint32_t height, size_t pixelsPerRow, size_t slots)
      : pixels_(pixels),
        width_(width),
        stride_(PaddedRow(width)),
        size_(PaddedRow(width) * height),
        pixelsPerRow_(pixelsPerRow),
        rows_(slots * pixelsPerRow),
        loaded_(slots, -1) {}

  // Row `row` of the image; the rows last asked for stay valid while fewer than `slots`
  // others are asked for after them.
  const Lanes* Row(int32_t row) {
    const size_t slot = static_cast<size_t>(row) % loaded_.size();
    Lanes* floats = rows_.data() + slot * pixelsPerRow_;
    if (loaded_[slot] != row) {
      loaded_[slot] = row;
      const size_t start = static_cast<size_t>(row) * stride_;
      const uint8_t* bytes = pixels_ + start;
      for (size_t c = 0; c < width_; ++c, bytes += kPixel)
        floats[c] = Lanes{static_cast<float>(bytes[0]), static_cast<float>(bytes[1]), static_cast<float>(bytes[2]), 0};
      const auto at = [&](size_t offset) { return offset < size_ ? static_cast<float>(pixels_[offset]) : 0.0f; };
      for (size_t c = width_, offset = start + width_ * kPixel; c < pixelsPerRow_; ++c, offset += kPixel)
        floats[c] = Lanes{at(offset), at(offset + 1), at(offset + 2), 0};
    }
    return floats;
  }

 private:
  const uint8_t* pixels_;
  size_t width_, stride_, size_, pixelsPerRow_;
  std::vector<Lanes> rows_;
  std::vector<int32_t> loaded_;
};

// One texel: the weighted sum of the source pixels under its box, divided by the box's area,
// with GLU's order of operations (float sums are not associative, and the bytes must match).
// row[m] is source row y.low + m.
void BoxTexel(const Lanes* const* row, const BoxSpan& x, const BoxSpan& y, float area, uint8_t* texel) {
  const int32_t rows = y.high - y.low;  // source rows below the first that the box reaches
  Lanes total{0, 0, 0, 0};
  if (rows > 0 && x.high > x.low) {
    // The first row of the box, then its last row, each from the left edge to the right.
    const float firstWeight = 1 - y.lowPart, lastWeight = y.highPart;
    total += row[0][x.low] * (firstWeight * (1 - x.lowPart));
    for (int32_t l = x.low + 1; l < x.high; ++l) total += row[0][l] * firstWeight;
    total += row[0][x.high] * (firstWeight * x.highPart);
    total += row[rows][x.low] * (lastWeight * (1 - x.lowPart));
    for (int32_t l = x.low + 1; l < x.high; ++l) total += row[rows][l] * lastWeight;
    total += row[rows][x.high] * (lastWeight * x.highPart);
    // The left and right columns of the rows in between. GLU moves its two column positions
    // on by a pixel after each of these rows, and the bytes have to come out as its do.
    for (int32_t m = 1; m < rows; ++m)
      total += row[m][x.low + m - 1] * (1 - x.lowPart) + row[m][x.high + m - 1] * x.highPart;
  } else if (rows > 0) {
    // A box within one source column.
    const float columnWeight = x.highPart - x.lowPart;
    total += row[0][x.low] * ((1 - y.lowPart) * columnWeight);
    for (int32_t m = 1; m < rows; ++m) total += row[m][x.low] * columnWeight;
    total += row[rows][x.low] * (columnWeight * y.highPart);
  } else if (x.high > x.low) {
    // A box within one source row.
    const float rowWeight = y.highPart - y.lowPart;
    total += row[0][x.low] * ((1 - x.lowPart) * rowWeight);
    for (int32_t l = x.low + 1; l < x.high; ++l) total += row[0][l] * rowWeight;
    total += row[0][x.high] * (rowWeight * x.highPart);
  } else {
    // A box within one source pixel.
    total += row[0][x.low] * ((y.highPart - y.lowPart) * (x.highPart - x.lowPart));
  }
  // The pixels wholly inside the box.
  for (int32_t m = 1; m < rows; ++m)
    for (int32_t l = x.low + 1; l < x.high; ++l) total += row[m][l];
  // Rounded down, as a float converted to a byte is.
  const FourInts mean = __builtin_convertvector(total / area, FourInts);
  for (size_t k = 0; k < kPixel; ++k) texel[k] = static_cast<uint8_t>(mean[k]);
}

// Exactly half the size on both axes: each texel the rounded mean of a 2 x 2 block.
void HalveImage(const uint8_t* pixels, size_t stride, uint32_t outWidth, uint32_t outHeight, uint8_t* out,
                size_t outStride) {
  for (uint32_t i = 0; i < outHeight; ++i) {
    const uint8_t* top = pixels + static_cast<size_t>(2 * i) * stride;
    const uint8_t* bottom = top + stride;
    uint8_t* texel = out + static_cast<size_t>(i) * outStride;
    for (uint32_t j = 0; j < outWidth; ++j, top += 2 * kPixel, bottom += 2 * kPixel, texel += kPixel)
      for (size_t k = 0; k < kPixel; ++k)
        texel[k] = static_cast<uint8_t>((top[k] + top[k + kPixel] + bottom[k] + bottom[k + kPixel] + 2) / 4);
  }
}

}  // namespace

uint32_t GluPowerOfTwoSide(uint32_t side) {
  if (side == 0) return 0;
  uint32_t power = 1;
  while (side != 1 && side != 3) {
    side >>= 1;
    power *= 2;
  }
  return side == 3 ? power * 4 : power;
}

std::vector<uint8_t> ScaleRgbLikeGlu(const uint8_t* pixels, uint32_t width, uint32_t height, uint32_t outWidth,
                                     uint32_t outHeight) {
  const size_t stride = PaddedRow(width), outStride = PaddedRow(outWidth);
  std::vector<uint8_t> out(outStride * outHeight);
  if (width == 0 || height == 0 || outWidth == 0 || outHeight == 0) return out;
  if (width == 2 * outWidth && height == 2 * outHeight) {
    HalveImage(pixels, stride, outWidth, outHeight, out.data(), outStride);
    return out;
  }
  const std::vector<BoxSpan> columns = BoxSpans(width, outWidth, false);
  const std::vector<BoxSpan> rows = BoxSpans(height, outHeight, true);
  const float area = (static_cast<float>(width) / static_cast<float>(outWidth)) *
                     (static_cast<float>(height) / static_cast<float>(outHeight));
  int32_t widest = 0, tallest = 0;  // the furthest column a box reaches, the most rows it spans
  for (const BoxSpan& x : columns) widest = std::max(widest, x.high);
  for (const BoxSpan& y : rows) tallest = std::max(tallest, y.high - y.low);
  FloatRows source(pixels, width, height, static_cast<size_t>(widest) + static_cast<size_t>(tallest) + 1,
                   static_cast<size_t>(tallest) + 1);
  std::vector<const Lanes*> boxRows(static_cast<size_t>(tallest) + 1);
  for (uint32_t i = 0; i < outHeight; ++i) {
    const BoxSpan& y = rows[i];
    for (int32_t m = 0; m <= y.high - y.low; ++m) boxRows[static_cast<size_t>(m)] = source.Row(y.low + m);
    uint8_t* texel = out.data() + static_cast<size_t>(i) * outStride;
    for (const BoxSpan& x : columns) {
      BoxTexel(boxRows.data(), x, y, area, texel);
      texel += kPixel;
    }
  }
  return out;
}

}  // namespace vellora::renderer
