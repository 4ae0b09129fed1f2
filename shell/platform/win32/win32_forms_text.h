// UTF-8 text of the forms seam to and from the UTF-16 text of the W calls.
#pragma once

#include <string>

namespace vellora::shell {

// Malformed UTF-8 becomes U+FFFD, as the system's own conversion makes it.
std::wstring Utf8ToWide(const std::string& text);
std::string WideToUtf8(const wchar_t* text, size_t length);
std::string WideToUtf8(const std::wstring& text);

}  // namespace vellora::shell
