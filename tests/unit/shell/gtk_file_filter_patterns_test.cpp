#include "platform/gtk/file_filter_patterns.h"

#include <fnmatch.h>
#include <gtest/gtest.h>

namespace vellora::shell {
namespace {

bool Matches(const std::string& windowsPattern, const char* name) {
  return fnmatch(CaseInsensitiveGlob(windowsPattern).c_str(), name, 0) == 0;
}

TEST(GtkFileFilterPatterns, SplitsOnSemicolonsAndDropsBlanksAndEmptyParts) {
  EXPECT_EQ(SplitFilterPatterns("*.MP3;*.WAV"), (std::vector<std::string>{"*.MP3", "*.WAV"}));
  EXPECT_EQ(SplitFilterPatterns(" *.MP3 ; ;*.WAV;"), (std::vector<std::string>{"*.MP3", "*.WAV"}));
  EXPECT_EQ(SplitFilterPatterns("*.*"), (std::vector<std::string>{"*.*"}));
  EXPECT_TRUE(SplitFilterPatterns("").empty());
  EXPECT_TRUE(SplitFilterPatterns(";;").empty());
}

TEST(GtkFileFilterPatterns, ExtensionsMatchInAnyLetterCase) {
  for (const char* name : {"song.mp3", "song.MP3", "Song.Mp3", "a.mP3"}) EXPECT_TRUE(Matches("*.MP3", name)) << name;
  EXPECT_TRUE(Matches("*.wav", "LOOP.WAV"));
  EXPECT_FALSE(Matches("*.MP3", "song.mp4"));
  EXPECT_FALSE(Matches("*.MP3", "song.mp3.txt"));
  EXPECT_FALSE(Matches("*.WAV", "song.wave"));
}

TEST(GtkFileFilterPatterns, WildcardsDigitsAndOtherCharactersKeepTheirMeaning) {
  EXPECT_EQ(CaseInsensitiveGlob("*.MP3"), "*.[mM][pP]3");
  EXPECT_TRUE(Matches("track?.mp3", "TRACK7.MP3"));
  EXPECT_FALSE(Matches("track?.mp3", "track10.mp3"));
  EXPECT_TRUE(Matches("*", "anything.at.all"));
  EXPECT_TRUE(Matches(u8"曲*.mp3", u8"曲目.MP3"));
}

TEST(GtkFileFilterPatterns, BracketExpressionsAreKeptWhole) {
  EXPECT_EQ(CaseInsensitiveGlob("*.[ab]"), "*.[ab]");
  EXPECT_EQ(CaseInsensitiveGlob("[]x]y"), "[]x][yY]");
  EXPECT_EQ(CaseInsensitiveGlob("[!]a]b"), "[!]a][bB]");
  EXPECT_TRUE(Matches("x[0-9].wav", "X5.WAV"));
  EXPECT_FALSE(Matches("x[0-9].wav", "xa.wav"));
}

TEST(GtkFileFilterPatterns, AnUnclosedBracketIsAnOrdinaryCharacter) {
  // Left alone it would pair with the "]" of a letter class added after it.
  EXPECT_TRUE(Matches("a[b", "A[B"));
  EXPECT_FALSE(Matches("a[b", "ab"));
}

}  // namespace
}  // namespace vellora::shell
