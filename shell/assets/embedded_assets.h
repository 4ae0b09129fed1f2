// Files built into the shell program: the pictures of the forms and controls.
#pragma once

#include <cstddef>
#include <string_view>

namespace vellora::shell {

struct EmbeddedFile {
  const char* name;
  const unsigned char* bytes;
  size_t size;
};

// The bytes of an embedded file by its file name; empty when there is none of that name.
std::string_view EmbeddedFileBytes(std::string_view name);

}  // namespace vellora::shell
