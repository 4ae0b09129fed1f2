// The lines a label shows its caption on: as the platforms' own labels wrap a caption wider
// than the label.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace vellora::shell {

// Breaks text (UTF-8) into lines no wider than width, as measured: at a space between words,
// the space itself going, and inside a word that does not fit on a line by itself, between
// characters. A line break in the text (LF, or CR LF) always starts a new line. A character
// wider than the whole width still gets a line of its own.
std::vector<std::string> WrapText(const std::string& text, int32_t width,
                                  const std::function<int32_t(const std::string&)>& measure);

}  // namespace vellora::shell
