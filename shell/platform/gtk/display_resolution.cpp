#include "platform/gtk/display_resolution.h"


namespace vellora::shell {

double ParseDpiResource(const char* value) {
  if (!value) return 0;
  // Xft.dpi is written with a full stop whatever the locale; strtod would follow LC_NUMERIC.
  double whole = 0, fraction = 0, scale = 1;
  const char* p = value;
  while (*p == ' ' || *p == '\t') ++p;
  bool digits = false;
  for (; *p >= '0' && *p <= '9'; ++p, digits = true) whole = whole * 10 + (*p - '0');
  if (*p == '.')
    for (++p; *p >= '0' && *p <= '9'; ++p, digits = true) fraction = fraction * 10 + (*p - '0'), scale *= 10;
  while (*p == ' ' || *p == '\t') ++p;
  if (!digits || *p != '\0') return 0;
  const double dpi = whole + fraction / scale;
  return dpi > 0 ? dpi : 0;
}

double TwipsPerPixelAt(double dotsPerInch) {
  if (!(dotsPerInch > 0)) dotsPerInch = kDefaultDotsPerInch;
  return 1440.0 / dotsPerInch;
}

}  // namespace vellora::shell
