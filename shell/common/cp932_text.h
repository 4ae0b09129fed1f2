// Text in code page 932 (Shift_JIS with Microsoft's extensions), the narrow encoding of the
// Japanese Windows system the shell targets. The shell keeps its own text in UTF-8 and uses
// code page 932 only where bytes are stored, so that the settings file holds the same bytes
// whichever system wrote it. The mapping is one committed table, identical on every platform.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vellora::shell {

bool IsCp932LeadByte(unsigned char byte);
bool IsCp932TrailByte(unsigned char byte);

// Length of the character that starts at offset: 2 for a lead byte followed by a trail byte,
// otherwise 1. The offset must lie inside the text.
size_t Cp932CharLength(std::string_view bytes, size_t offset);

// Length of the longest start of the text that is at most maxBytes long and does not end
// between the two bytes of a double-byte character.
size_t Cp932PrefixLength(std::string_view bytes, size_t maxBytes);

// Converts UTF-8 to code page 932. A character the code page cannot hold, or a malformed
// UTF-8 sequence, becomes "?"; exact (when given) tells whether that never happened.
std::string Utf8ToCp932(std::string_view utf8, bool* exact = nullptr);

// Converts code page 932 to UTF-8. An unassigned code, or a lead byte without its trail byte,
// becomes U+FFFD; exact (when given) tells whether that never happened.
std::string Cp932ToUtf8(std::string_view bytes, bool* exact = nullptr);

}  // namespace vellora::shell
