#include "settings/ini_reader.h"

#include "settings/ini_syntax.h"

namespace vellora::shell {

std::optional<std::string_view> FindIniValue(std::string_view bytes, std::string_view section, std::string_view key) {
  const std::vector<IniLine> lines = SplitIniLines(bytes);
  const IniKeyLocation location = LocateIniKey(lines, section, key);
  if (!location.keyLine) return std::nullopt;
  std::string_view value = lines[*location.keyLine].value;
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return value;
}

}  // namespace vellora::shell
