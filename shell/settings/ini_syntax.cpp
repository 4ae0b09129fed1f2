#include "settings/ini_syntax.h"

#include "common/cp932_text.h"

namespace vellora::shell {
namespace {

bool IsIniBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

char FoldAsciiCase(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Offset of the first "]" that is a character of its own (not the second byte of a
// double-byte character), or npos.
size_t FindClosingBracket(std::string_view text) {
  for (size_t at = 0; at < text.size(); at += Cp932CharLength(text, at)) {
    if (text[at] == ']') return at;
  }
  return std::string_view::npos;
}

void Classify(std::string_view content, IniLine& line) {
  const std::string_view text = TrimIniBlanks(content);
  line.blank = text.empty();
  if (text.empty() || text.front() == ';') return;
  if (text.front() == '[') {
    const std::string_view inside = text.substr(1);
    const size_t close = FindClosingBracket(inside);
    if (close != std::string_view::npos) {
      line.kind = IniLine::Kind::Section;
      line.name = TrimIniBlanks(inside.substr(0, close));
    }
    return;
  }
  // "=" (3D) is never the second byte of a double-byte character, so the first one splits.
  const size_t equals = text.find('=');
  if (equals != std::string_view::npos) {
    line.kind = IniLine::Kind::Key;
    line.name = TrimIniBlanks(text.substr(0, equals));
    line.value = TrimIniBlanks(text.substr(equals + 1));
  }
}

}  // namespace

std::string_view TrimIniBlanks(std::string_view text) {
  size_t first = 0;
  size_t last = text.size();
  while (first < last && IsIniBlank(text[first])) ++first;
  while (last > first && IsIniBlank(text[last - 1])) --last;
  return text.substr(first, last - first);
}

std::vector<IniLine> SplitIniLines(std::string_view bytes) {
  std::vector<IniLine> lines;
  size_t begin = 0;
  while (begin < bytes.size()) {
    IniLine line;
    line.begin = begin;
    const size_t newline = bytes.find('\n', begin);
    if (newline == std::string_view::npos) {
      line.contentEnd = line.end = bytes.size();
    } else {
      line.contentEnd = (newline > begin && bytes[newline - 1] == '\r') ? newline - 1 : newline;
      line.end = newline + 1;
    }
    Classify(bytes.substr(begin, line.contentEnd - begin), line);
    lines.push_back(line);
    begin = line.end;
  }
  return lines;
}

bool IniNamesEqual(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t at = 0; at < a.size();) {
    const size_t length = Cp932CharLength(a, at);
    if (length == 2) {
      if (a.compare(at, 2, b, at, 2) != 0) return false;
    } else if (FoldAsciiCase(a[at]) != FoldAsciiCase(b[at])) {
      return false;
    }
    at += length;
  }
  return true;
}

IniKeyLocation LocateIniKey(const std::vector<IniLine>& lines, std::string_view section, std::string_view key) {
  IniKeyLocation location;
  section = TrimIniBlanks(section);
  key = TrimIniBlanks(key);
  size_t index = 0;
  while (index < lines.size() &&
         !(lines[index].kind == IniLine::Kind::Section && IniNamesEqual(lines[index].name, section))) {
    ++index;
  }
  if (index == lines.size()) return location;
  location.sectionLine = index;
  for (++index; index < lines.size() && lines[index].kind != IniLine::Kind::Section; ++index) {
    if (!location.keyLine && lines[index].kind == IniLine::Kind::Key && IniNamesEqual(lines[index].name, key)) {
      location.keyLine = index;
    }
  }
  location.sectionEnd = index;
  return location;
}

}  // namespace vellora::shell
