// Text the process services derive from the program's path.
#pragma once

#include <string>

namespace vellora::shell {

// The folder part of an absolute path, without a trailing "/" except for the root itself.
std::string FolderOfPath(const std::string& path);

}  // namespace vellora::shell
