// How the Command button's values are written as property-bag text, and read back. A value
// that cannot be read as its type gives none, so that the caller skips that property.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/forms_platform.h"

namespace vellora::shell {

// 16-bit Booleans: "-1" for true (any nonzero value), "0" for false. Reading also takes
// "True" and "False" in any case, and any number (nonzero is true, as -1).
std::string BooleanText(int16_t value);
std::optional<int16_t> BooleanFromText(const std::string& text);

// Integers as signed decimal text; reading takes any number and rounds halves to even, and
// gives none outside the type's range.
std::optional<uint8_t> ByteFromText(const std::string& text);
std::optional<int16_t> Int16FromText(const std::string& text);
std::optional<int32_t> Int32FromText(const std::string& text);

// A font as "points;weight;charset;italic;underline;face", e.g.
// "9.75;400;128;0;0;ＭＳ Ｐゴシック". The face comes last so that it may hold any character.
std::string FontText(const FontSpec& font);
std::optional<FontSpec> FontFromText(const std::string& text);

}  // namespace vellora::shell
