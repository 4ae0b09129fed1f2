// The open-file dialog's filter: Windows patterns such as "*.MP3;*.WAV" match file names
// without regard to letter case, GTK's glob patterns do not; each letter becomes a class of
// both its cases.
#pragma once

#include <string>
#include <vector>

namespace vellora::shell {

// The ";"-separated patterns of a filter, blanks around each removed, empty ones dropped.
std::vector<std::string> SplitFilterPatterns(const std::string& patterns);

// A glob pattern that matches the same names in any letter case: "*.Mp3" -> "*.[mM][pP]3".
// Bracket expressions already in the pattern are kept as they are.
std::string CaseInsensitiveGlob(const std::string& pattern);

}  // namespace vellora::shell
