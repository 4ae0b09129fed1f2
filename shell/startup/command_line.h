// Reading the screensaver command line: the mode letter and the preview window's handle.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vellora::shell {

// The second character of the upper-cased command line ("/s", "-S", "/S:1234" and "xs" all
// give "S"); empty when the line has fewer than two characters.
std::string ModeLetter(std::string_view commandLine);

// The numeric value of the command line from its fourth character on, read like a numeric
// literal and rounded to 32 bits ("/p 1234" and "/P:1234" both give 1234); 0 when there is
// no number or it does not fit.
int32_t PreviewHandle(std::string_view commandLine);

// The last three characters of a file name, upper-cased ("a.Mp3" gives "MP3").
std::string UpperExtension3(std::string_view fileName);

}  // namespace vellora::shell
