#include "startup/command_line.h"

#include <vector>

#include "common/number_conversions.h"

namespace vellora::shell {
namespace {

// Splits UTF-8 text into characters (a malformed byte counts as one character).
std::vector<std::string_view> Characters(std::string_view text) {
  std::vector<std::string_view> out;
  for (size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    size_t length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 1;
    if (i + length > text.size()) length = 1;
    out.push_back(text.substr(i, length));
    i += length;
  }
  return out;
}

std::string UpperAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return out;
}

}  // namespace

std::string ModeLetter(std::string_view commandLine) {
  const std::vector<std::string_view> chars = Characters(commandLine);
  return chars.size() < 2 ? std::string() : UpperAscii(chars[1]);
}

int32_t PreviewHandle(std::string_view commandLine) {
  const std::vector<std::string_view> chars = Characters(commandLine);
  if (chars.size() < 4) return 0;
  const size_t start = static_cast<size_t>(chars[3].data() - commandLine.data());
  const std::optional<double> value = NumericPrefixValue(commandLine.substr(start));
  if (!value) return 0;
  return RoundToInt32(*value).value_or(0);
}

std::string UpperExtension3(std::string_view fileName) {
  const std::vector<std::string_view> chars = Characters(fileName);
  std::string out;
  for (size_t i = chars.size() < 3 ? 0 : chars.size() - 3; i < chars.size(); ++i) out += chars[i];
  return UpperAscii(out);
}

}  // namespace vellora::shell
