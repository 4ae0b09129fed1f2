// Shell paths on POSIX systems.
#pragma once

#include <string>
#include <string_view>

namespace vellora::shell {

// The shell joins file names with "\" as on Windows; here that is taken as the separator
// and becomes "/". A backslash inside a POSIX file name is therefore not reachable.
std::string ToPosixPath(std::string_view shellPath);

}  // namespace vellora::shell
