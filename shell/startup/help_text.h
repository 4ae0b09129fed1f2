// What `vellora --help` and `vellora --version` print on Linux.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vellora::shell {

// The usage text for the one argument "--help", the version line for "--version"; nothing for
// any other argument, which goes on to the mode letter as the screensaver command line.
std::optional<std::string> HelpOrVersionText(std::string_view argument, std::string_view version);

}  // namespace vellora::shell
