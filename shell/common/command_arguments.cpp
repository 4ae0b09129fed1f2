#include "common/command_arguments.h"

namespace vellora::shell {

std::string JoinArguments(int argc, char** argv) {
  std::string line;
  for (int i = 1; i < argc && argv && argv[i]; ++i) {
    if (i > 1) line += ' ';
    line += argv[i];
  }
  return line;
}

}  // namespace vellora::shell
