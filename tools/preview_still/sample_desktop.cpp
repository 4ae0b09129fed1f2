#include "sample_desktop.h"

namespace vellora::tools {
namespace {

RgbColour Mix(RgbColour a, RgbColour b, double f) {
  const auto channel = [f](uint8_t x, uint8_t y) { return static_cast<uint8_t>(x + (y - x) * f + 0.5); };
  return {channel(a.r, b.r), channel(a.g, b.g), channel(a.b, b.b)};
}

// A framed window: border, client colour, a title bar, and grey bars standing for text lines.
void DrawWindow(RgbImage& image, int left, int top, int right, int bottom, RgbColour client, RgbColour title) {
  constexpr RgbColour kBorder{64, 64, 64};
  constexpr RgbColour kText{120, 120, 120};
  const int titleHeight = (bottom - top) / 8;
  image.Fill(left, top, right, bottom, kBorder);
  image.Fill(left + 1, top + 1, right - 1, bottom - 1, client);
  image.Fill(left + 1, top + 1, right - 1, top + titleHeight, title);
  const int line = titleHeight / 2;
  for (int y = top + titleHeight + line; y + line / 2 < bottom - line; y += line * 2)
    image.Fill(left + line, y, right - line - (y / line % 3) * line * 2, y + line / 2 + 1, kText);
}

}  // namespace

RgbImage DrawSampleDesktop(int width, int height) {
  RgbImage image(width, height);
  constexpr RgbColour kWallpaperTop{0x2a, 0x6f, 0xb0};
  constexpr RgbColour kWallpaperBottom{0x7f, 0xc3, 0xe8};
  for (int y = 0; y < height; ++y)
    image.Fill(0, y, width, y + 1, Mix(kWallpaperTop, kWallpaperBottom, height > 1 ? double(y) / (height - 1) : 0));

  DrawWindow(image, width / 10, height / 8, width / 2, height / 2, {0xf4, 0xf4, 0xf4}, {0x3c, 0x78, 0xd8});
  DrawWindow(image, width / 2 + width / 16, height / 4, width * 9 / 10, height * 3 / 4, {0xff, 0xf2, 0xcc},
             {0xe0, 0x66, 0x66});

  const int bar = height / 12;
  image.Fill(0, height - bar, width, height, {0x20, 0x20, 0x20});
  image.Fill(bar / 5, height - bar + bar / 6, bar * 2, height - bar / 6, {0x6a, 0xa8, 0x4f});
  return image;
}

}  // namespace vellora::tools
