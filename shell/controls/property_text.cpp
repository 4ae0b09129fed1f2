#include "controls/property_text.h"

#include <iomanip>
#include <locale>
#include <sstream>
#include <vector>

#include "common/number_conversions.h"

namespace vellora::shell {
namespace {

bool EqualsIgnoringCase(const std::string& text, const char* word) {
  size_t i = 0;
  for (; word[i] != '\0'; ++i) {
    if (i >= text.size()) return false;
    char c = text[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != word[i]) return false;
  }
  return i == text.size();
}

std::string Trimmed(const std::string& text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

std::string BooleanText(int16_t value) { return value != 0 ? "-1" : "0"; }

std::optional<int16_t> BooleanFromText(const std::string& text) {
  const std::string word = Trimmed(text);
  if (EqualsIgnoringCase(word, "true")) return int16_t{-1};
  if (EqualsIgnoringCase(word, "false")) return int16_t{0};
  const std::optional<double> number = NumericTextValue(text);
  if (!number) return std::nullopt;
  return static_cast<int16_t>(*number != 0 ? -1 : 0);
}

std::optional<uint8_t> ByteFromText(const std::string& text) {
  const std::optional<int16_t> value = Int16FromText(text);
  if (!value || *value < 0 || *value > 255) return std::nullopt;
  return static_cast<uint8_t>(*value);
}

std::optional<int16_t> Int16FromText(const std::string& text) {
  const std::optional<double> number = NumericTextValue(text);
  return number ? RoundToInt16(*number) : std::nullopt;
}

std::optional<int32_t> Int32FromText(const std::string& text) {
  const std::optional<double> number = NumericTextValue(text);
  return number ? RoundToInt32(*number) : std::nullopt;
}

std::string FontText(const FontSpec& font) {
  std::ostringstream out;
  out.imbue(std::locale::classic());
  out << std::setprecision(10) << font.points << ';' << font.weight << ';' << font.charset << ';'
      << (font.italic ? 1 : 0) << ';' << (font.underline ? 1 : 0) << ';' << font.face;
  return out.str();
}

std::optional<FontSpec> FontFromText(const std::string& text) {
  std::vector<std::string> fields;
  size_t start = 0;
  for (int i = 0; i < 5; ++i) {
    const size_t end = text.find(';', start);
    if (end == std::string::npos) return std::nullopt;
    fields.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  const std::optional<double> points = NumericTextValue(fields[0]);
  const std::optional<int32_t> weight = Int32FromText(fields[1]);
  const std::optional<uint8_t> charset = ByteFromText(fields[2]);
  const std::optional<int16_t> italic = BooleanFromText(fields[3]);
  const std::optional<int16_t> underline = BooleanFromText(fields[4]);
  if (!points || *points <= 0 || !weight || !charset || !italic || !underline) return std::nullopt;
  FontSpec font;
  font.points = *points;
  font.weight = *weight;
  font.charset = *charset;
  font.italic = *italic != 0;
  font.underline = *underline != 0;
  font.face = text.substr(start);
  return font;
}

}  // namespace vellora::shell
