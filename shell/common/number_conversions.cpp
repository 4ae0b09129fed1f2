#include "common/number_conversions.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace vellora::shell {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsExponentMark(char c) { return c == 'E' || c == 'e' || c == 'D' || c == 'd'; }

size_t SkipBlanks(std::string_view text, size_t offset) {
  while (offset < text.size() && IsBlank(text[offset])) ++offset;
  return offset;
}

size_t SkipDigits(std::string_view text, size_t offset) {
  while (offset < text.size() && IsDigit(text[offset])) ++offset;
  return offset;
}

// A decimal number as written: sign, the digits before and after the decimal point, exponent.
struct DecimalNumber {
  bool negative = false;
  std::string_view integerDigits;
  std::string_view fractionDigits;
  bool negativeExponent = false;
  std::string_view exponentDigits;
};

// Reads the longest decimal number at offset, with the given decimal point. Returns where it ends, or offset itself when
// no number starts there (a number needs at least one digit before or after the point). An
// exponent mark is taken only when digits follow it, so "1e" reads as 1.
size_t ScanDecimal(std::string_view text, size_t offset, std::string_view point, DecimalNumber& number) {
  size_t at = offset;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
    number.negative = text[at] == '-';
    ++at;
  }
  const size_t integerEnd = SkipDigits(text, at);
  number.integerDigits = text.substr(at, integerEnd - at);
  at = integerEnd;
  if (!point.empty() && text.substr(at, point.size()) == point) {
    const size_t fractionStart = at + point.size();
    const size_t fractionEnd = SkipDigits(text, fractionStart);
    number.fractionDigits = text.substr(fractionStart, fractionEnd - fractionStart);
    at = fractionEnd;
  }
  if (number.integerDigits.empty() && number.fractionDigits.empty()) return offset;

  if (at < text.size() && IsExponentMark(text[at])) {
    size_t exponentAt = at + 1;
    bool negativeExponent = false;
    if (exponentAt < text.size() && (text[exponentAt] == '+' || text[exponentAt] == '-')) {
      negativeExponent = text[exponentAt] == '-';
      ++exponentAt;
    }
    const size_t exponentEnd = SkipDigits(text, exponentAt);
    if (exponentEnd > exponentAt) {
      number.negativeExponent = negativeExponent;
      number.exponentDigits = text.substr(exponentAt, exponentEnd - exponentAt);
      at = exponentEnd;
    }
  }
  return at;
}

// The number's value, correctly rounded. Values beyond the double range give no value;
// values too small for it give zero.
std::optional<double> DecimalValue(const DecimalNumber& number) {
  std::string digits;
  digits.reserve(number.integerDigits.size() + number.fractionDigits.size());
  digits.append(number.integerDigits).append(number.fractionDigits);
  const size_t firstSignificant = digits.find_first_not_of('0');
  if (firstSignificant == std::string::npos) return 0.0;
  const size_t lastSignificant = digits.find_last_not_of('0');

  // The exponent saturates far beyond any double, so long digit runs cannot overflow it.
  constexpr int64_t kExponentLimit = 1'000'000'000'000;
  int64_t exponent = 0;
  for (char c : number.exponentDigits) {
    exponent = std::min<int64_t>(exponent * 10 + (c - '0'), kExponentLimit);
  }
  if (number.negativeExponent) exponent = -exponent;

  // value = 0.<significant digits> x 10^scale
  const int64_t scale =
      static_cast<int64_t>(number.integerDigits.size()) - static_cast<int64_t>(firstSignificant) + exponent;
  constexpr int64_t kLargestScale = std::numeric_limits<double>::max_exponent10 + 1;
  constexpr int64_t kSmallestScale = std::numeric_limits<double>::min_exponent10 - 20;
  if (scale > kLargestScale) return std::nullopt;
  if (scale < kSmallestScale) return 0.0;

  std::string normalised = "0.";
  normalised.append(digits, firstSignificant, lastSignificant - firstSignificant + 1);
  normalised += 'e';
  normalised += std::to_string(scale);
  double value = 0;
  const auto [end, error] = std::from_chars(normalised.data(), normalised.data() + normalised.size(), value);
  (void)end;
  if (error == std::errc::result_out_of_range) {
    if (scale > 0) return std::nullopt;
    value = 0.0;
  } else if (error != std::errc()) {
    return std::nullopt;
  }
  if (!std::isfinite(value)) return std::nullopt;
  return number.negative ? -value : value;
}

double RoundHalfToEven(double value) {
  const double lower = std::floor(value);
  const double fraction = value - lower;
  if (fraction < 0.5) return lower;
  if (fraction > 0.5) return lower + 1;
  return std::fmod(lower, 2.0) == 0 ? lower : lower + 1;
}

template <typename Integer>
std::optional<Integer> RoundToInteger(double value) {
  if (!std::isfinite(value)) return std::nullopt;
  const double rounded = RoundHalfToEven(value);
  if (rounded < static_cast<double>(std::numeric_limits<Integer>::min()) ||
      rounded > static_cast<double>(std::numeric_limits<Integer>::max())) {
    return std::nullopt;
  }
  return static_cast<Integer>(rounded);
}

}  // namespace

std::optional<double> NumericPrefixValue(std::string_view text) {
  const size_t start = SkipBlanks(text, 0);
  DecimalNumber number;
  if (ScanDecimal(text, start, ".", number) == start) return 0.0;
  return DecimalValue(number);
}

std::optional<double> NumericTextValue(std::string_view text) { return NumericTextValue(text, NumberFormat{}); }

std::optional<double> NumericTextValue(std::string_view text, const NumberFormat& format) {
  const size_t start = SkipBlanks(text, 0);
  DecimalNumber number;
  const size_t end = ScanDecimal(text, start, format.decimalSeparator, number);
  if (end == start || SkipBlanks(text, end) != text.size()) return std::nullopt;
  return DecimalValue(number);
}

std::optional<int16_t> RoundToInt16(double value) { return RoundToInteger<int16_t>(value); }

std::optional<int32_t> RoundToInt32(double value) { return RoundToInteger<int32_t>(value); }

double Floor(double value) { return std::floor(value); }

std::string FormatDigitsPattern(int64_t value) { return value == 0 ? std::string() : std::to_string(value); }

std::string SignedDecimalText(int64_t value) {
  return value < 0 ? std::to_string(value) : " " + std::to_string(value);
}

}  // namespace vellora::shell
