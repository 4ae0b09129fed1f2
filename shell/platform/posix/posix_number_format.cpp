#include "platform/posix/posix_number_format.h"

#include <langinfo.h>
#include <locale.h>

#include <string>

namespace vellora::shell {
namespace {

// True when the bytes are well-formed UTF-8 (a locale whose codeset is not UTF-8 may give a
// separator in another encoding).
bool IsUtf8(const std::string& text) {
  size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const size_t length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
    if (length == 0 || i + length > text.size()) return false;
    for (size_t k = 1; k < length; ++k)
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
    i += length;
  }
  return true;
}

}  // namespace

NumberFormat LocaleNumberFormat(const char* localeName) {
  NumberFormat format;
  locale_t locale = newlocale(LC_NUMERIC_MASK, localeName, static_cast<locale_t>(nullptr));
  if (locale == static_cast<locale_t>(nullptr)) return format;
  const char* separator = nl_langinfo_l(RADIXCHAR, locale);
  if (separator != nullptr && *separator != '\0' && IsUtf8(separator)) format.decimalSeparator = separator;
  freelocale(locale);
  return format;
}

}  // namespace vellora::shell
