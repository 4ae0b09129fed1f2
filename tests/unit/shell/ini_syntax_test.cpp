// Reading keys from profile file bytes.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "settings/ini_reader.h"
#include "settings/ini_syntax.h"

namespace vellora::shell {
namespace {

const std::string kModeKey = "BGM\x8B\xE6\x95\xAA";  // BGM区分 in code page 932

std::string Find(const std::string& file, const std::string& section, const std::string& key) {
  return std::string(FindIniValue(file, section, key).value_or("<missing>"));
}

TEST(IniReader, FindsValuesWithTheProfileFunctionsRules) {
  const std::string file =
      "; settings\r\n"
      "orphan=before any section\r\n"
      "[Other]\r\n"
      "key=other section\r\n"
      "[SECTION]\r\n"
      "  Key  =  spaced value  \r\n"
      ";commented=no\r\n"
      "line without equals\r\n"
      "empty=\r\n"
      "quoted=\"C:\\a b.mp3\"\r\n"
      "single='x'\r\n"
      "unbalanced=\"x'\r\n"
      "lone=\"\r\n"
      "key=second line of the key\r\n" +
      kModeKey + "= 1\r\n"
      "[section]\r\n"
      "later=second section of the same name\r\n"
      "[Last]\r\n"
      "end=no line end";
  EXPECT_EQ(Find(file, "Section", "key"), "spaced value");
  EXPECT_EQ(Find(file, " section ", "KEY"), "spaced value");
  EXPECT_EQ(Find(file, "Section", "bgm\x8B\xE6\x95\xAA"), "1");
  EXPECT_EQ(Find(file, "Section", "empty"), "");
  EXPECT_EQ(Find(file, "Section", "quoted"), "C:\\a b.mp3");
  EXPECT_EQ(Find(file, "Section", "single"), "x");
  EXPECT_EQ(Find(file, "Section", "unbalanced"), "\"x'");
  EXPECT_EQ(Find(file, "Section", "lone"), "\"");
  EXPECT_EQ(Find(file, "Other", "key"), "other section");
  EXPECT_EQ(Find(file, "Last", "end"), "no line end");

  EXPECT_EQ(Find(file, "Section", ";commented"), "<missing>");
  EXPECT_EQ(Find(file, "Section", "line without equals"), "<missing>");
  EXPECT_EQ(Find(file, "Section", "orphan"), "<missing>");
  EXPECT_EQ(Find(file, "Section", "later"), "<missing>");  // only the first section counts
  EXPECT_EQ(Find(file, "Missing", "key"), "<missing>");
  EXPECT_EQ(Find("", "Section", "key"), "<missing>");
}

TEST(IniReader, ReadsLfOnlyAndMixedLineEnds) {
  const std::string file = "[Section]\na=1\r\nb=2\nc=3\r\n";
  EXPECT_EQ(Find(file, "Section", "a"), "1");
  EXPECT_EQ(Find(file, "Section", "b"), "2");
  EXPECT_EQ(Find(file, "Section", "c"), "3");
}

TEST(IniReader, DoubleByteCharactersAreMatchedExactly) {
  // ア (83 41) and ヂ (83 61): their second bytes are "A" and "a", which must not be folded.
  const std::string file = "[\x83\x41]\r\nx=1\r\n[s]\r\n\x83\x41=2\r\n";
  EXPECT_EQ(Find(file, "\x83\x41", "X"), "1");
  EXPECT_EQ(Find(file, "\x83\x61", "x"), "<missing>");
  EXPECT_EQ(Find(file, "S", "\x83\x41"), "2");
  EXPECT_EQ(Find(file, "S", "\x83\x61"), "<missing>");
  // ゾ (83 5D) ends in the byte of "]", which does not close the section name.
  EXPECT_EQ(Find("[\x83\x5D]\r\nk=v\r\n", "\x83\x5D", "k"), "v");
  EXPECT_EQ(Find("[ab\r\nk=v\r\n", "ab", "k"), "<missing>");
}

TEST(IniSyntax, LinesCoverTheFileWithTheirLineEnds) {
  const std::string file = "[S]\r\nk=v\n\n  \r\nlast";
  const std::vector<IniLine> lines = SplitIniLines(file);
  ASSERT_EQ(lines.size(), 5u);
  size_t expectedBegin = 0;
  for (const IniLine& line : lines) {
    EXPECT_EQ(line.begin, expectedBegin);
    expectedBegin = line.end;
  }
  EXPECT_EQ(expectedBegin, file.size());
  EXPECT_EQ(lines[0].contentEnd, 3u);
  EXPECT_EQ(lines[1].contentEnd, 8u);
  EXPECT_TRUE(lines[2].blank && lines[3].blank);
  EXPECT_FALSE(lines[4].blank);
  EXPECT_EQ(lines[4].contentEnd, lines[4].end);
}

}  // namespace
}  // namespace vellora::shell
