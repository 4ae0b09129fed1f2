// What `vellora --help` and `vellora --version` print on Linux.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vellora::shell {

// The usage text for the command line "--help", the version line for "--version"; nothing for
// any other line, which is read as the screensaver command line.
std::optional<std::string> HelpOrVersionText(std::string_view commandLine, std::string_view version);

}  // namespace vellora::shell
