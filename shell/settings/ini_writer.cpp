#include "settings/ini_writer.h"

#include "common/cp932_text.h"
#include "settings/ini_syntax.h"

namespace vellora::shell {
namespace {

constexpr std::string_view kLineEnd = "\r\n";

bool HasLineBreak(std::string_view text) { return text.find_first_of("\r\n") != std::string_view::npos; }

// Whether the name can stand between "[" and "]": no "]" of its own, and no lead byte at the
// end that would take the closing "]" as its second byte.
bool FitsInBrackets(std::string_view name) {
  size_t length = 0;
  for (size_t at = 0; at < name.size(); at += length) {
    length = Cp932CharLength(name, at);
    if (length == 2) continue;
    if (name[at] == ']') return false;
    if (at + 1 == name.size() && IsCp932LeadByte(static_cast<unsigned char>(name[at]))) return false;
  }
  return true;
}

bool CanWrite(std::string_view section, std::string_view key, std::string_view value) {
  if (HasLineBreak(section) || HasLineBreak(key) || HasLineBreak(value)) return false;
  if (!FitsInBrackets(section)) return false;
  if (key.find('=') != std::string_view::npos) return false;
  return key.empty() || (key.front() != '[' && key.front() != ';');
}

std::string KeyLine(std::string_view key, std::string_view value) {
  std::string line(key);
  line += '=';
  line += value;
  return line;
}

}  // namespace

std::optional<std::string> SetIniValue(std::string_view bytes, std::string_view section, std::string_view key,
                                       std::string_view value) {
  section = TrimIniBlanks(section);
  key = TrimIniBlanks(key);
  if (!CanWrite(section, key, value)) return std::nullopt;

  const std::vector<IniLine> lines = SplitIniLines(bytes);
  const IniKeyLocation location = LocateIniKey(lines, section, key);
  std::string out;
  out.reserve(bytes.size() + section.size() + key.size() + value.size() + 8);

  if (location.keyLine) {
    const IniLine& line = lines[*location.keyLine];
    out.append(bytes.substr(0, line.begin));
    out += KeyLine(line.name, value);
    out.append(bytes.substr(line.contentEnd));
    return out;
  }

  if (location.sectionLine) {
    size_t last = *location.sectionLine;
    for (size_t index = last + 1; index < location.sectionEnd; ++index) {
      if (!lines[index].blank) last = index;
    }
    const IniLine& line = lines[last];
    out.append(bytes.substr(0, line.end));
    if (line.end == line.contentEnd) out += kLineEnd;
    out += KeyLine(key, value);
    out += kLineEnd;
    out.append(bytes.substr(line.end));
    return out;
  }

  out.append(bytes);
  if (!bytes.empty() && bytes.back() != '\n') out += kLineEnd;
  out += '[';
  out += section;
  out += ']';
  out += kLineEnd;
  out += KeyLine(key, value);
  out += kLineEnd;
  return out;
}

}  // namespace vellora::shell
