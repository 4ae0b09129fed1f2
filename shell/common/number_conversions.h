// The shell's conversions between numbers and text. Numbers are read the way the shell's
// forms runtime reads them on a Japanese system: "." is the decimal point, "E" or "D" starts
// an exponent, and no thousands separators or currency signs are taken. What the user types
// into a form is read with the user's own decimal separator instead (NumberFormat); files
// and command lines always use ".".
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vellora::shell {

// How the user writes numbers: the text between the integer digits and the fraction ("." in
// English or Japanese, "," in German).
struct NumberFormat {
  std::string decimalSeparator = ".";
};

// Value of the number at the start of text, read like a numeric literal: leading blanks are
// skipped, reading stops at the first character that cannot continue the number, and text
// without digits gives 0 ("12ab" gives 12, "-.5e1x" gives -5, "x1" gives 0). No value when
// the number is too large for a double.
std::optional<double> NumericPrefixValue(std::string_view text);

// Value of a text that is one number and nothing else: an optional sign, digits with an
// optional decimal point, an optional exponent, and blanks before and after. No value when
// the text is anything else (the empty text included) or too large for a double.
std::optional<double> NumericTextValue(std::string_view text);
inline bool IsNumericText(std::string_view text) { return NumericTextValue(text).has_value(); }
// The same for text the user typed: the format's decimal separator, and no other, is the
// decimal point (blanks, sign and exponent as above).
std::optional<double> NumericTextValue(std::string_view text, const NumberFormat& format);
inline bool IsNumericText(std::string_view text, const NumberFormat& format) {
  return NumericTextValue(text, format).has_value();
}

// The value rounded to the nearest integer, halves to the even neighbour (2.5 gives 2,
// 3.5 gives 4, -2.5 gives -2). No value when the result leaves the type's range or the
// value is not finite: an overflow is reported, never wrapped.
std::optional<int16_t> RoundToInt16(double value);
std::optional<int32_t> RoundToInt32(double value);

// The largest integer not greater than the value (2.9 gives 2, -0.5 gives -1).
double Floor(double value);

// The value formatted with the digit pattern "##": its digits with a minus sign when
// negative, and the empty text for zero.
std::string FormatDigitsPattern(int64_t value);

// The value as signed decimal text with a sign position: a blank before zero and positive
// numbers (" 2", " 0"), a minus sign before negative ones ("-3").
std::string SignedDecimalText(int64_t value);

}  // namespace vellora::shell
