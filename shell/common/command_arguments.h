// The command line as the shell reads it on systems that hand a program its arguments one by one.
#pragma once

#include <string>

namespace vellora::shell {

// The arguments after the program path, joined with single blanks.
std::string JoinArguments(int argc, char** argv);

}  // namespace vellora::shell
