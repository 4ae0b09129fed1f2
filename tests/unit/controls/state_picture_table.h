// The colours each state picture must carry in the middle of its top and bottom edges (rows 0
// to 3 and 21 to 24), and a way to tell from a painted button which picture framed it.
#pragma once

#include <array>
#include <string>

#include "platform/canvas.h"

namespace vellora::shell::testing {

struct EdgeRows {
  const char* picture;
  std::array<uint32_t, 8> colours;  // 0xRRGGBB for rows 0, 1, 2, 3, 21, 22, 23, 24
};

inline const std::array<EdgeRows, 6> kEdgeTable = {{
    {"Normal", {0xE0DCC9, 0x003C74, 0xF3F3EE, 0xF3F3EE, 0xE2DFD6, 0xD6D0C5, 0x003C74, 0xF8F7F0}},
    {"HighLight", {0xE0DCC9, 0x003C74, 0xFFF0CF, 0xFDD889, 0xF8B330, 0xE59700, 0x003C74, 0xF8F7F0}},
    {"HighLightSelect", {0xE0DCC9, 0x003C74, 0xFFF0CF, 0xFDD889, 0xF8B330, 0xE59700, 0x003C74, 0xF8F7F0}},
    {"Selected", {0xE0DCC9, 0x003C74, 0xCEE7FF, 0xCEE7FF, 0x6982EE, 0x6982EE, 0x003C74, 0xF8F7F0}},
    {"Pressed", {0xECE9D8, 0xE0DCC9, 0x003C74, 0xD1CCC1, 0xF2F1EE, 0x003C74, 0xF8F7F0, 0xECE9D8}},
    {"Disable", {0xECE9D8, 0xC9C7BA, 0xF5F4EA, 0xF5F4EA, 0xF5F4EA, 0xF5F4EA, 0xC9C7BA, 0xECE9D8}},
}};

inline Rgb Hex(uint32_t rgb) {
  return {static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8), static_cast<uint8_t>(rgb)};
}

// The edge rows of a canvas at column x: its top four and bottom four rows.
inline std::array<Rgb, 8> EdgeRowsAt(const Canvas& canvas, int32_t x) {
  const int32_t h = canvas.Height();
  return {canvas.Pixel(x, 0),     canvas.Pixel(x, 1),     canvas.Pixel(x, 2),     canvas.Pixel(x, 3),
          canvas.Pixel(x, h - 4), canvas.Pixel(x, h - 3), canvas.Pixel(x, h - 2), canvas.Pixel(x, h - 1)};
}

// Which picture's edge rows the canvas shows at column x: "Normal", "HighLight" (the same
// rows as HighLightSelect), "Selected", "Pressed", "Disable", or "none".
inline std::string LookAt(const Canvas& canvas, int32_t x) {
  const std::array<Rgb, 8> rows = EdgeRowsAt(canvas, x);
  for (const EdgeRows& entry : kEdgeTable) {
    bool same = true;
    for (size_t i = 0; i < rows.size(); ++i) same = same && rows[i] == Hex(entry.colours[i]);
    if (same) return entry.picture;
  }
  return "none";
}

}  // namespace vellora::shell::testing
