#include "settings/profile_file.h"

#include <optional>

#include "common/cp932_text.h"
#include "settings/ini_reader.h"
#include "settings/ini_writer.h"

namespace vellora::shell {

std::string ReadProfileValue(FileSystem& files, std::string_view section, std::string_view key,
                             std::string_view defaultValue, size_t bufferSize, const std::string& path) {
  if (bufferSize == 0) return std::string();
  const FileReadResult file = files.ReadFile(path);
  std::string_view value = defaultValue;
  if (file.status == FileReadStatus::Ok) {
    if (const std::optional<std::string_view> found = FindIniValue(file.bytes, section, key)) value = *found;
  }
  return std::string(value.substr(0, Cp932PrefixLength(value, bufferSize - 1)));
}

bool WriteProfileValue(FileSystem& files, std::string_view section, std::string_view key, std::string_view value,
                       const std::string& path) {
  const FileReadResult old = files.ReadFile(path);
  if (old.status == FileReadStatus::Failed) return false;
  const std::optional<std::string> updated = SetIniValue(old.bytes, section, key, value);
  if (!updated) return false;

  return ReplaceFileAtomically(files, path, *updated);
}

}  // namespace vellora::shell
