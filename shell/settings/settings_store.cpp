#include "settings/settings_store.h"

#include <optional>

#include "common/cp932_text.h"
#include "data_folder.h"
#include "common/number_conversions.h"
#include "settings/profile_file.h"
#include "settings/settings_variables.h"

namespace vellora::shell {
namespace {

// The profile read fills a buffer of this many bytes, the last for the terminating NUL.
constexpr size_t kReadBufferSize = 256;

// Section and key names travel in fields of this many characters.
constexpr size_t kNameFieldCharacters = 128;

// Text handed to the narrow platform functions ends at its first NUL.
std::string_view UpToNul(std::string_view text) { return text.substr(0, text.find('\0')); }

// The first count characters, counted as UTF-16 units as the platform's strings count them.
std::string_view FirstCharacters(std::string_view utf8, size_t count) {
  size_t units = 0;
  for (size_t at = 0; at < utf8.size(); ++at) {
    const unsigned char byte = static_cast<unsigned char>(utf8[at]);
    if ((byte & 0xC0) == 0x80) continue;  // continuation byte
    units += byte >= 0xF0 ? 2 : 1;
    if (units > count) return utf8.substr(0, at);
  }
  return utf8;
}

// Stores the floor of a numeric text in target; an empty text stores 0, and a text that is
// not a number or a floor outside the 16-bit range leaves target unchanged.
void LoadWholeNumber(const std::string& text, int16_t& target) {
  if (text.empty()) {
    target = 0;
    return;
  }
  const std::optional<double> value = NumericTextValue(text);
  if (!value) return;
  if (const std::optional<int16_t> whole = RoundToInt16(Floor(*value))) target = *whole;
}

}  // namespace

std::string SettingsFilePath(std::string_view folder) {
  std::string path(folder);
  path += '\\';
  path += kSettingsFileName;
  return path;
}

std::string ReadIniString(FileSystem& files, std::string_view section, std::string_view key,
                          std::string_view filePath) {
  const std::string value = ReadProfileValue(files, Utf8ToCp932(UpToNul(section)), Utf8ToCp932(UpToNul(key)), "",
                                             kReadBufferSize, std::string(UpToNul(filePath)));
  return Cp932ToUtf8(UpToNul(value));
}

void WriteIniString(FileSystem& files, std::string_view section, std::string_view key, std::string_view value,
                    std::string_view filePath) {
  const std::string narrowSection = Utf8ToCp932(FirstCharacters(UpToNul(section), kNameFieldCharacters));
  const std::string narrowKey = Utf8ToCp932(FirstCharacters(UpToNul(key), kNameFieldCharacters));
  const bool written = WriteProfileValue(files, narrowSection, narrowKey, Utf8ToCp932(UpToNul(value)),
                                         std::string(UpToNul(filePath)));
  ApiResult = written ? 1 : 0;
}

void LoadSettings(FileSystem& files, std::string_view settingsFolder) {
  const std::string path = SettingsFilePath(settingsFolder);
  LoadWholeNumber(ReadIniString(files, kSettingsSection, kBgmModeKey, path), BgmMode);
  LoadWholeNumber(ReadIniString(files, kSettingsSection, kBgmRepeatTrackKey, path), BgmRepeatTrack);

  const std::string file = ReadIniString(files, kSettingsSection, kBgmFileKey, path);
  if (!file.empty() && FileExists(files, file)) {
    BgmFile = file;
    return;
  }
  BgmFile.clear();
  if (BgmMode == kBgmModeFile) BgmMode = kBgmModeNone;
}

bool MakeSettingsFolder(FileSystem& files, std::string_view settingsPath) {
  const size_t separator = settingsPath.find_last_of("\\/");
  if (separator == std::string_view::npos) return false;
  return files.FolderProbes().CreateFolder(std::string(settingsPath.substr(0, separator)));
}

bool FileExists(FileSystem& files, std::string_view path) {
  std::string copy(path);
  if (!copy.empty() && copy.back() == '\\') copy.pop_back();
  if (copy.empty() || copy.find('\0') != std::string::npos) return false;
  return files.CanOpenForReading(copy);
}

}  // namespace vellora::shell
