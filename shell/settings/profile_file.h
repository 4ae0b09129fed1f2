// The narrow profile functions, reading and writing one key of a settings file whose text is
// code page 932 bytes, with the platform profile functions' results.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/file_system.h"

namespace vellora::shell {

// The key's value, or defaultValue when the file, the section or the key is missing (or the
// file cannot be read), cut to bufferSize - 1 bytes without splitting a double-byte
// character: the text a buffer of bufferSize bytes receives, before its terminating NUL.
std::string ReadProfileValue(FileSystem& files, std::string_view section, std::string_view key,
                             std::string_view defaultValue, size_t bufferSize, const std::string& path);

// Sets the key (see SetIniValue for the layout) and creates the file if it is missing. The
// new content goes to a temporary file in the same folder that then replaces the old file in
// one rename, so a crash or a full disk never leaves a partly written settings file. False
// when anything fails; the old file is then unchanged.
bool WriteProfileValue(FileSystem& files, std::string_view section, std::string_view key, std::string_view value,
                       const std::string& path);

}  // namespace vellora::shell
