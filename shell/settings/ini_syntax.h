// The line structure of a profile (INI) file whose text is code page 932 bytes.
//
// A line is a section header "[name]", a key line "key=value", or anything else (blank
// lines, comments starting with ";", lines the format does not define), which is kept but
// never matched. Names and values lose the blanks around them. Lines end with LF or CR LF.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

namespace vellora::shell {

struct IniLine {
  enum class Kind { Section, Key, Other };
  Kind kind = Kind::Other;
  size_t begin = 0;         // first byte of the line
  size_t contentEnd = 0;    // first byte of the line end ("\r\n" or "\n")
  size_t end = 0;           // first byte after the line end; contentEnd on a last line without one
  bool blank = true;        // nothing but blanks
  std::string_view name;    // section name or key (Section and Key lines)
  std::string_view value;   // the text after "=" (Key lines)
};

// Splits the file into lines. The views in the result point into bytes.
std::vector<IniLine> SplitIniLines(std::string_view bytes);

// Section and key names match regardless of the case of ASCII letters; the two bytes of a
// double-byte character must match exactly (its second byte may look like a letter).
bool IniNamesEqual(std::string_view a, std::string_view b);

// The text without the blanks (space, tab, CR, VT, FF) at either end.
std::string_view TrimIniBlanks(std::string_view text);

// Where a key sits: the first section of the name, and the first line of the key in it.
struct IniKeyLocation {
  std::optional<size_t> sectionLine;  // index of the section header
  size_t sectionEnd = 0;              // index of the first line after the section
  std::optional<size_t> keyLine;      // index of the key line
};
IniKeyLocation LocateIniKey(const std::vector<IniLine>& lines, std::string_view section, std::string_view key);

}  // namespace vellora::shell
