// GDI fonts made from the runtime's font descriptions.
#pragma once

#include <map>
#include <string>
#include <tuple>

#include "platform/forms_platform.h"
#include "platform/win32/win32_forms_system.h"

namespace vellora::shell {

// A new font for the description, sized for the screen's vertical resolution: a character
// height of -MulDiv(points, LOGPIXELSY, 72) pixels. The caller deletes it (DeleteObject).
HFONT CreateFontFromSpec(const FontSpec& spec);

// Fonts kept for reuse by description; all are deleted with the cache.
class FontCache {
 public:
  FontCache() = default;
  FontCache(const FontCache&) = delete;
  FontCache& operator=(const FontCache&) = delete;
  ~FontCache();

  HFONT Get(const FontSpec& spec);

 private:
  using Key = std::tuple<std::string, double, int, int, bool, bool>;
  std::map<Key, HFONT> fonts_;
};

}  // namespace vellora::shell
