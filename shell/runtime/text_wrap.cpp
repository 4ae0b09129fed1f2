#include "runtime/text_wrap.h"

#include <algorithm>

namespace vellora::shell {
namespace {

// Length in bytes of the UTF-8 character that starts at `at`.
size_t CharacterLength(const std::string& text, size_t at) {
  size_t end = at + 1;
  while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) ++end;
  return end - at;
}

// Appends the lines of one paragraph (text without line breaks).
void WrapParagraph(const std::string& paragraph, int32_t width,
                   const std::function<int32_t(const std::string&)>& measure, std::vector<std::string>& lines) {
  std::string line;
  size_t at = 0;
  for (;;) {
    const size_t space = paragraph.find(' ', at);
    std::string word = paragraph.substr(at, space == std::string::npos ? std::string::npos : space - at);
    const std::string joined = line.empty() ? word : line + " " + word;
    if (measure(joined) <= width) {
      line = joined;
    } else {
      if (!line.empty()) lines.push_back(line);
      // The word alone, cut between characters for as long as it is wider than a line.
      while (measure(word) > width) {
        size_t cut = CharacterLength(word, 0);
        while (cut < word.size()) {
          const size_t next = cut + CharacterLength(word, cut);
          if (measure(word.substr(0, next)) > width) break;
          cut = next;
        }
        if (cut == word.size()) break;  // one character wider than a line: a line of its own
        lines.push_back(word.substr(0, cut));
        word.erase(0, cut);
      }
      line = word;
    }
    if (space == std::string::npos) break;
    at = space + 1;
  }
  lines.push_back(line);
}

}  // namespace

std::vector<std::string> WrapText(const std::string& text, int32_t width,
                                  const std::function<int32_t(const std::string&)>& measure) {
  std::vector<std::string> lines;
  width = std::max<int32_t>(width, 0);  // an empty line always fits
  size_t at = 0;
  for (;;) {
    const size_t end = text.find('\n', at);
    std::string paragraph = text.substr(at, end == std::string::npos ? std::string::npos : end - at);
    if (!paragraph.empty() && paragraph.back() == '\r') paragraph.pop_back();
    WrapParagraph(paragraph, width, measure, lines);
    if (end == std::string::npos) break;
    at = end + 1;
  }
  return lines;
}

}  // namespace vellora::shell
