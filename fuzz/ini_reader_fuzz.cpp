// Profile file bytes from outside: looking keys up must stay inside the file, and setting a
// key must read back and leave every other key's value as it was.
//
// Input: a first line "section<TAB>key<TAB>value" naming the key to set, then the file.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/cp932_text.h"
#include "settings/ini_reader.h"
#include "settings/ini_syntax.h"
#include "settings/ini_writer.h"
#include "settings/settings_store.h"

namespace {

using namespace vellora::shell;

void Check(bool condition) {
  if (!condition) std::abort();
}

std::string_view Field(std::string_view& rest) {
  const size_t tab = rest.find('\t');
  const std::string_view field = rest.substr(0, tab);
  rest = tab == std::string_view::npos ? std::string_view() : rest.substr(tab + 1);
  return field;
}

// What a reader gives back for a written value: blanks and enclosing quotes removed.
std::string_view AsRead(std::string_view value) {
  value = TrimIniBlanks(value);
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return value;
}

void CheckInside(std::string_view file, std::optional<std::string_view> value) {
  if (value && !value->empty()) Check(value->data() >= file.data() && value->data() + value->size() <= file.data() + file.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const size_t newline = input.find('\n');
  std::string_view header = input.substr(0, newline);
  const std::string_view file = newline == std::string_view::npos ? std::string_view() : input.substr(newline + 1);
  const std::string_view section = Field(header);
  const std::string_view key = Field(header);
  const std::string_view value = header;

  for (std::string_view settingKey : {kBgmModeKey, kBgmRepeatTrackKey, kBgmFileKey}) {
    const std::optional<std::string_view> found = FindIniValue(file, kSettingsSection, Utf8ToCp932(settingKey));
    CheckInside(file, found);
    if (found) {
      const size_t cut = Cp932PrefixLength(*found, 255);
      Check(cut <= 255 && (cut == found->size() || cut >= 254));
      Utf8ToCp932(Cp932ToUtf8(found->substr(0, cut)));
    }
  }
  CheckInside(file, FindIniValue(file, section, key));

  const std::optional<std::string> updated = SetIniValue(file, section, key, value);
  if (!updated) return 0;
  const std::optional<std::string_view> readBack = FindIniValue(*updated, section, key);
  Check(readBack.has_value() && *readBack == AsRead(value));

  // Every other key of a section keeps its value.
  const std::vector<IniLine> lines = SplitIniLines(file);
  std::string_view currentSection;
  bool inSection = false;
  int checked = 0;
  for (const IniLine& line : lines) {
    if (line.kind == IniLine::Kind::Section) {
      currentSection = line.name;
      inSection = true;
    } else if (line.kind == IniLine::Kind::Key && inSection && checked++ < 64) {
      if (IniNamesEqual(currentSection, TrimIniBlanks(section)) && IniNamesEqual(line.name, TrimIniBlanks(key))) {
        continue;
      }
      Check(FindIniValue(file, currentSection, line.name) == FindIniValue(*updated, currentSection, line.name));
    }
  }
  return 0;
}
