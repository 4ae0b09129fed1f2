// Looking a key up in a profile file's bytes, as the platform's profile read does.
#pragma once

#include <optional>
#include <string_view>

namespace vellora::shell {

// The value of key in the first section called section: the text after "=" without the
// blanks around it, and without a pair of matching quotation marks (" or ') enclosing it.
// No value when the section or the key is missing. The result points into bytes.
std::optional<std::string_view> FindIniValue(std::string_view bytes, std::string_view section, std::string_view key);

}  // namespace vellora::shell
