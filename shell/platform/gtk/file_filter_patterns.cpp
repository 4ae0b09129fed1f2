#include "platform/gtk/file_filter_patterns.h"

namespace vellora::shell {

namespace {
bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
char LowerCase(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
char UpperCase(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }
}  // namespace

std::vector<std::string> SplitFilterPatterns(const std::string& patterns) {
  std::vector<std::string> result;
  size_t start = 0;
  while (start <= patterns.size()) {
    size_t end = patterns.find(';', start);
    if (end == std::string::npos) end = patterns.size();
    size_t first = start, last = end;
    while (first < last && patterns[first] == ' ') ++first;
    while (last > first && patterns[last - 1] == ' ') --last;
    if (last > first) result.push_back(patterns.substr(first, last - first));
    start = end + 1;
  }
  return result;
}

std::string CaseInsensitiveGlob(const std::string& pattern) {
  std::string glob;
  for (size_t i = 0; i < pattern.size(); ++i) {
    const char c = pattern[i];
    if (c == '[') {
      // A bracket expression runs to the first "]" that is not its first member.
      size_t close = i + 1;
      if (close < pattern.size() && (pattern[close] == '!' || pattern[close] == '^')) ++close;
      if (close < pattern.size() && pattern[close] == ']') ++close;
      close = pattern.find(']', close);
      if (close != std::string::npos) {
        glob.append(pattern, i, close - i + 1);
        i = close;
        continue;
      }
      glob += "[[]";  // no end: an ordinary "[", kept from pairing with the classes added below
    } else if (c == '\\' && i + 1 < pattern.size()) {
      glob += c;
      glob += pattern[++i];
    } else if (IsAsciiLetter(c)) {
      glob += '[';
      glob += LowerCase(c);
      glob += UpperCase(c);
      glob += ']';
    } else {
      glob += c;
    }
  }
  return glob;
}

}  // namespace vellora::shell
