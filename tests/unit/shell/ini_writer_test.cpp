#include "settings/ini_writer.h"

#include <gtest/gtest.h>

#include <string>

#include "settings/ini_reader.h"

namespace vellora::shell {
namespace {

std::string Set(const std::string& file, const std::string& section, const std::string& key,
                const std::string& value) {
  return SetIniValue(file, section, key, value).value_or("<refused>");
}

TEST(IniWriter, ReplacesOnlyTheKeysLine) {
  const std::string before =
      "; kept comment\n"
      "garbage \x83\x5C\xFF line\n"
      "[Other]\r\n"
      "key=1\r\n"
      "\r\n"
      "[section]\n"
      "  KEY = old value \n"
      "key=duplicate\n"
      "[Tail]\r\n"
      "z=9";
  const std::string after =
      "; kept comment\n"
      "garbage \x83\x5C\xFF line\n"
      "[Other]\r\n"
      "key=1\r\n"
      "\r\n"
      "[section]\n"
      "KEY= new\n"
      "key=duplicate\n"
      "[Tail]\r\n"
      "z=9";
  EXPECT_EQ(Set(before, "Section", "key", " new"), after);
}

TEST(IniWriter, AddsAMissingKeyAfterTheSectionsLastLine) {
  EXPECT_EQ(Set("[S]\r\na=1\r\n\r\n[T]\r\n", "s", "b", "2"), "[S]\r\na=1\r\nb=2\r\n\r\n[T]\r\n");
  EXPECT_EQ(Set("[S]\na=1\n;note\n\n", "S", "b", "2"), "[S]\na=1\n;note\nb=2\r\n\n");
  EXPECT_EQ(Set("[S]\r\na=1", "S", "b", "2"), "[S]\r\na=1\r\nb=2\r\n");
  EXPECT_EQ(Set("[S]", "S", "b", "2"), "[S]\r\nb=2\r\n");
}

TEST(IniWriter, AddsAMissingSectionAtTheEnd) {
  EXPECT_EQ(Set("", "Section", "k", "v"), "[Section]\r\nk=v\r\n");
  EXPECT_EQ(Set("[A]\nx=1\n", "B", "k", "v"), "[A]\nx=1\n[B]\r\nk=v\r\n");
  EXPECT_EQ(Set("[A]\nx=1", "B", "k", ""), "[A]\nx=1\r\n[B]\r\nk=\r\n");
}

TEST(IniWriter, RefusesTextThatWouldBreakTheLayout) {
  EXPECT_EQ(Set("", "S", "k", "two\nlines"), "<refused>");
  EXPECT_EQ(Set("", "S", "k", "cr\r"), "<refused>");
  EXPECT_EQ(Set("", "S]", "k", "v"), "<refused>");
  EXPECT_EQ(Set("", "S", "a=b", "v"), "<refused>");
  EXPECT_EQ(Set("", "S", "[k", "v"), "<refused>");
  EXPECT_EQ(Set("", "S", ";k", "v"), "<refused>");
  EXPECT_EQ(Set("", "S\x81", "k", "v"), "<refused>");  // 81 5D would be one character
  // The "]" byte inside ゾ (83 5D) is part of a character, not a bracket.
  EXPECT_EQ(Set("", "\x83\x5D", "k", "v"), "[\x83\x5D]\r\nk=v\r\n");
}

TEST(IniWriter, WhatIsWrittenReadsBack) {
  const struct {
    std::string written;
    std::string read;
  } cases[] = {
      {"C:\\\x83\x5C\x83\x74\x83\x67\\a.mp3", "C:\\\x83\x5C\x83\x74\x83\x67\\a.mp3"},
      {"", ""},
      {"a=b=c", "a=b=c"},
      {"[x]", "[x]"},
      {" 12", "12"},  // blanks around a value are not part of it
  };
  std::string file = "[Section]\n; note\n";
  for (const auto& c : cases) {
    file = Set(file, "Section", "path", c.written);
    EXPECT_EQ(FindIniValue(file, "SECTION", "Path").value_or("<missing>"), c.read);
  }
}

}  // namespace
}  // namespace vellora::shell
