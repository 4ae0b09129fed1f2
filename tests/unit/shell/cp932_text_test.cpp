#include "common/cp932_text.h"

#include <gtest/gtest.h>

#include <string>

namespace vellora::shell {
namespace {

struct Mapping {
  const char* utf8;
  const char* cp932;
};

// Characters whose code page 932 bytes are known from the settings file's keys and from the
// places where Microsoft's code page differs from plain Shift_JIS.
constexpr Mapping kTwoWayMappings[] = {
    {u8"BGM区分", "BGM\x8B\xE6\x95\xAA"},
    {u8"BGMﾘﾋﾟｰﾄ", "BGM\xD8\xCB\xDF\xB0\xC4"},
    {u8"BGMﾌｧｲﾙ", "BGM\xCC\xA7\xB2\xD9"},
    {u8"｡ﾟ", "\xA1\xDF"},
    {u8"\\~", "\\~"},
    {u8"～∥－￠￡￢", "\x81\x60\x81\x61\x81\x7C\x81\x91\x81\x92\x81\xCA"},
    {u8"ソフト", "\x83\x5C\x83\x74\x83\x67"},
    {u8"ⅰ纊", "\xFA\x40\xFA\x5C"},   // IBM extensions win over their NEC-selected copies
    {u8"≒∵Ⅰ", "\x81\xE0\x81\xE6\x87\x54"},  // JIS symbols over NEC row 13; NEC row 13 over IBM
    {u8"\uE000\uE757", "\xF0\x40\xF9\xFC"},  // user-defined area
};

TEST(Cp932Text, ConvertsBothWaysWithMicrosoftsMapping) {
  for (const Mapping& m : kTwoWayMappings) {
    bool exact = false;
    EXPECT_EQ(Utf8ToCp932(m.utf8, &exact), m.cp932) << m.utf8;
    EXPECT_TRUE(exact) << m.utf8;
    EXPECT_EQ(Cp932ToUtf8(m.cp932, &exact), m.utf8) << m.utf8;
    EXPECT_TRUE(exact) << m.utf8;
  }
}

TEST(Cp932Text, DuplicateCodesAndOneWayCharacters) {
  // Second codes of a character decode to it; encoding prefers the first.
  EXPECT_EQ(Cp932ToUtf8("\xEE\xEF\xED\x40\x87\x90"), u8"ⅰ纊≒");
  // Characters iconv maps onto a code that decodes to a neighbour.
  EXPECT_EQ(Utf8ToCp932(u8"〜‖−¢£¬¥‾—"), "\x81\x60\x81\x61\x81\x7C\x81\x91\x81\x92\x81\xCA\\~\x81\x5C");
}

TEST(Cp932Text, EveryAssignedCodeSurvivesARoundTrip) {
  int assigned = 0;
  for (int lead = 0x81; lead <= 0xFC; ++lead) {
    for (int trail = 0x40; trail <= 0xFC; ++trail) {
      if (!IsCp932LeadByte(lead) || !IsCp932TrailByte(trail)) continue;
      const std::string code{static_cast<char>(lead), static_cast<char>(trail)};
      bool exact = false;
      const std::string utf8 = Cp932ToUtf8(code, &exact);
      if (!exact) continue;
      ++assigned;
      const std::string back = Utf8ToCp932(utf8);
      ASSERT_EQ(back.size(), 2u) << std::hex << lead << trail;
      EXPECT_EQ(Cp932ToUtf8(back), utf8) << std::hex << lead << trail;
    }
  }
  // JIS X 0208 6879, NEC row 13 83, IBM extensions 388 and their NEC-selected copies 374,
  // user-defined area 1880.
  EXPECT_EQ(assigned, 9604);
}

TEST(Cp932Text, MarksWhatCannotBeConverted) {
  bool exact = true;
  EXPECT_EQ(Utf8ToCp932(u8"aéb😀c", &exact), "a?b?c");
  EXPECT_FALSE(exact);
  EXPECT_EQ(Utf8ToCp932("a\xC0\x80" "b\x80" "c\xE3\x81", &exact), "a??b?c??");
  EXPECT_FALSE(exact);

  const std::string replacement = u8"\uFFFD";
  EXPECT_EQ(Cp932ToUtf8("a\x82", &exact), "a" + replacement);  // lead byte at the end
  EXPECT_FALSE(exact);
  EXPECT_EQ(Cp932ToUtf8("\x82 ", &exact), replacement + " ");  // lead byte without a trail byte
  EXPECT_EQ(Cp932ToUtf8("\x85\x40" "a"), replacement + "a");   // unassigned code, one replacement
  EXPECT_EQ(Cp932ToUtf8("\x80\xA0\xFD\xFF"), replacement + replacement + replacement + replacement);
}

TEST(Cp932Text, PrefixNeverEndsInsideADoubleByteCharacter) {
  const std::string text = "A\x82\xA0\x82\xA2";  // "Aあい"
  EXPECT_EQ(Cp932PrefixLength(text, 10), 5u);
  EXPECT_EQ(Cp932PrefixLength(text, 5), 5u);
  EXPECT_EQ(Cp932PrefixLength(text, 4), 3u);
  EXPECT_EQ(Cp932PrefixLength(text, 3), 3u);
  EXPECT_EQ(Cp932PrefixLength(text, 2), 1u);
  EXPECT_EQ(Cp932PrefixLength("\x82\x82\x82\x82", 3), 2u);  // 82 is lead and trail byte alike
  EXPECT_EQ(Cp932PrefixLength("\x82" "abc", 2), 2u);       // "a" (61) is a trail byte: one character
  EXPECT_EQ(Cp932PrefixLength("\x82 abc", 2), 2u);         // a lone lead byte stands alone
}

}  // namespace
}  // namespace vellora::shell
