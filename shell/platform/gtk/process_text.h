// Text the process services derive from the command line and the program's path.
#pragma once

#include <string>

namespace vellora::shell {

// The arguments after the program path, joined with single blanks.
std::string JoinArguments(int argc, char** argv);

// The folder part of an absolute path, without a trailing "/" except for the root itself.
std::string FolderOfPath(const std::string& path);

}  // namespace vellora::shell
