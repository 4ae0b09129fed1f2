// Setting a key in a profile file's bytes, as the platform's profile write does, while every
// other byte of the file stays as it was.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vellora::shell {

// Sets key in the first section called section to value and returns the file's new bytes:
//  - an existing key line becomes "key=value" (the key keeps its spelling in the file, the
//    line its line end);
//  - a missing key is added as "key=value" after the section's last non-blank line;
//  - a missing section is added at the end of the file as "[section]" and the key line.
// Lines written anew end with CR LF. No value when the text cannot form such lines: a line
// end in any of the three, a "]" in the section name or a lead byte at its end, or a key
// with "=" or starting like a section header or comment.
std::optional<std::string> SetIniValue(std::string_view bytes, std::string_view section, std::string_view key,
                                       std::string_view value);

}  // namespace vellora::shell
