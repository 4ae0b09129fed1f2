#include "platform/gtk/font_mapping.h"

#include <cmath>

namespace vellora::shell {

std::string NativeFontFamily(const std::string& face) {
  struct Alias {
    const char* windowsFace;
    const char* family;
  };
  // Both the Japanese names the forms store and the English names of the same faces.
  static const Alias kAliases[] = {
      {u8"ＭＳ Ｐゴシック", "IPAPGothic"}, {"MS PGothic", "IPAPGothic"},
      {u8"ＭＳ ゴシック", "IPAGothic"},    {"MS Gothic", "IPAGothic"},
      {u8"ＭＳ Ｐ明朝", "IPAPMincho"},     {"MS PMincho", "IPAPMincho"},
      {u8"ＭＳ 明朝", "IPAMincho"},        {"MS Mincho", "IPAMincho"},
  };
  for (const Alias& alias : kAliases)
    if (face == alias.windowsFace) return alias.family;
  return face;
}

int FontPixelHeight(double points, double dotsPerInch) {
  if (!(points > 0) || !(dotsPerInch > 0)) return 1;
  const long pixels = std::lround(points * dotsPerInch / 72.0);
  return pixels < 1 ? 1 : static_cast<int>(pixels);
}

}  // namespace vellora::shell
