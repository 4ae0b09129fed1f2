// Settings file bytes from outside, through the profile functions and the loader the shell
// uses: a key looked up must stay inside the file and come back cut to the buffer, loading the
// settings must take any file, and writing a key must replace the file with one in which that
// key reads back and every other byte stays as it was.
//
// Input: a first line "section<TAB>key<TAB>value" naming the key to write, then the file. The
// fuzzed files live in memory, so that an input costs no system call; before fuzzing, one
// seed goes through the system's own file system, so that every run exercises the real atomic
// replace too.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include <unistd.h>

#include "common/cp932_text.h"
#include "fake_file_system.h"
#include "platform/file_system.h"
#include "settings/ini_reader.h"
#include "settings/ini_syntax.h"
#include "settings/ini_writer.h"
#include "settings/profile_file.h"
#include "settings/settings_store.h"
#include "settings/settings_variables.h"

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

// Reads the settings from the file given in the input, loads them, and writes the key.
// filesInFolder counts the files in the folder, to see that no temporary file is left.
template <typename CountFiles>
void CheckProfileFile(FileSystem& files, const std::string& folder, std::string_view input, CountFiles filesInFolder) {
  const size_t newline = input.find('\n');
  std::string_view header = input.substr(0, newline);
  const std::string file(newline == std::string_view::npos ? std::string_view() : input.substr(newline + 1));
  const std::string_view section = Field(header);
  const std::string_view key = Field(header);
  const std::string_view value = header;

  const std::string path = SettingsFilePath(folder);
  Check(ReplaceFileAtomically(files, path, file));

  // Reading: the three settings, cut to 255 bytes without splitting a character; loading them.
  for (std::string_view settingKey : {kBgmModeKey, kBgmRepeatTrackKey, kBgmFileKey}) {
    const std::string narrowKey = Utf8ToCp932(settingKey);
    const std::optional<std::string_view> found = FindIniValue(file, kSettingsSection, narrowKey);
    CheckInside(file, found);
    const std::string read = ReadProfileValue(files, kSettingsSection, narrowKey, "", 256, path);
    const std::string_view whole = found.value_or("");
    Check(read.size() <= 255 && whole.substr(0, read.size()) == read && (read.size() == whole.size() || read.size() >= 254));
    Utf8ToCp932(Cp932ToUtf8(read));
  }
  BgmMode = BgmRepeatTrack = 0;
  BgmFile.clear();
  LoadSettings(files, folder);
  Check(BgmMode != 2 || !BgmFile.empty());
  CheckInside(file, FindIniValue(file, section, key));

  // Writing: the file is replaced by exactly what the writer makes of it, or left as it was.
  const std::optional<std::string> updated = SetIniValue(file, section, key, value);
  const bool written = WriteProfileValue(files, section, key, value, path);
  const FileReadResult after = files.ReadFile(path);
  Check(after.status == FileReadStatus::Ok && written == updated.has_value());
  Check(after.bytes == (updated ? *updated : file));
  Check(filesInFolder() == 1);
  if (!updated) return;
  const std::optional<std::string_view> readBack = FindIniValue(*updated, section, key);
  Check(readBack.has_value() && *readBack == AsRead(value));

  // Every other byte stays as it was: the old and the new file differ in one stretch, which in
  // the old file lies inside one line (the key's value replaced, or nothing: a line added).
  const size_t shorter = std::min(file.size(), updated->size());
  size_t prefix = 0;
  while (prefix < shorter && file[prefix] == (*updated)[prefix]) ++prefix;
  size_t suffix = 0;
  while (suffix < shorter - prefix && file[file.size() - 1 - suffix] == (*updated)[updated->size() - 1 - suffix]) ++suffix;
  Check(file.find('\n', prefix) >= file.size() - suffix);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // A settings file of the usual shape, in a folder of its own that is removed afterwards.
  const std::string seed = std::string("Section\tBGM\x8B\xE6\x95\xAA\t 1\n") +
                           "[Section]\r\nBGM\x8B\xE6\x95\xAA= 2\r\nBGM\xCC\xA7\xB2\xD9=C:\\Music\\a.mp3\r\n";
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("vellora_ini_fuzz_" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  CheckProfileFile(PlatformFileSystem(), folder.string(), seed, [&] {
    return std::distance(std::filesystem::directory_iterator(folder), std::filesystem::directory_iterator());
  });
  std::filesystem::remove_all(folder);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static vellora::shell::testing::FakeFileSystem memory;
  memory.files.clear();
  CheckProfileFile(memory, "C:\\Vellora", std::string_view(reinterpret_cast<const char*>(data), size),
                   [] { return memory.files.size(); });
  return 0;
}
