#include "common/number_conversions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace vellora::shell {
namespace {

TEST(NumericPrefixValue, ReadsTheNumberAtTheStartLikeALiteral) {
  const struct {
    const char* text;
    double value;
  } cases[] = {
      {"1234", 1234},     {"  \t-12abc", -12}, {"+7", 7},         {"1.5e2x", 150}, {"3D2", 300},
      {"-.5E1x", -5},     {".5", 0.5},         {"5.", 5},         {"1e", 1},       {"1e+", 1},
      {"1.2.3", 1.2},     {"12 34", 12},       {"0012", 12},      {"abc", 0},      {"", 0},
      {"-", 0},           {".", 0},            {"x12", 0},        {"1e-400", 0},   {"4294967295", 4294967295.0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(NumericPrefixValue(c.text), c.value) << '"' << c.text << '"';
  }
  EXPECT_FALSE(NumericPrefixValue("1e400").has_value());
  EXPECT_FALSE(NumericPrefixValue("-9e99999999999999999999").has_value());
}

TEST(NumericTextValue, AcceptsOneNumberWithBlanksAround) {
  const struct {
    const char* text;
    double value;
  } numbers[] = {
      {"7.6", 7.6},  {" 7.6 ", 7.6}, {"\t-0.5\r\n", -0.5}, {"+.5", 0.5},      {"5.", 5},        {"1e5", 1e5},
      {"1D2", 100},  {"2.5e-1", 0.25}, {"-0", 0},          {"1e-400", 0},    {"0.1", 0.1},
      {"123456789012345678901234567890", 1.2345678901234568e29},
      {"0.000000000000000000000000000000000000000000000000001e51", 1},
  };
  for (const auto& c : numbers) {
    EXPECT_EQ(NumericTextValue(c.text), c.value) << '"' << c.text << '"';
    EXPECT_TRUE(IsNumericText(c.text)) << '"' << c.text << '"';
  }
  for (const char* text : {"", "  ", ".", "-", "abc", "1e", "1e+", "1 2", "12abc", "1,000", "0x10", "&H10", "inf",
                           "nan", "--1", "1e400", "１２"}) {
    EXPECT_FALSE(IsNumericText(text)) << '"' << text << '"';
  }
}

TEST(RoundToInteger, RoundsHalvesToEvenAndReportsOverflow) {
  const struct {
    double value;
    int16_t rounded;
  } cases[] = {{0.5, 0},        {1.5, 2},         {2.5, 2},          {3.5, 4},          {-0.5, 0},
               {-1.5, -2},      {-2.5, -2},       {2.4999, 2},       {5.5, 6},          {4.5, 4},
               {32767.4, 32767}, {-32768.5, -32768}, {-32768.4, -32768}, {45, 45}};
  for (const auto& c : cases) {
    EXPECT_EQ(RoundToInt16(c.value), c.rounded) << c.value;
  }
  for (double value : {32767.5, 40000.0, -32768.6, -40000.0, std::nan(""), std::numeric_limits<double>::infinity()}) {
    EXPECT_FALSE(RoundToInt16(value).has_value()) << value;
  }
  EXPECT_EQ(RoundToInt32(2147483646.5), 2147483646);
  EXPECT_EQ(RoundToInt32(-2147483648.5), std::numeric_limits<int32_t>::min());
  EXPECT_FALSE(RoundToInt32(2147483647.5).has_value());
  EXPECT_FALSE(RoundToInt32(4294967295.0).has_value());
}

TEST(Floor, GivesTheLargestIntegerNotAbove) {
  EXPECT_EQ(Floor(2.9), 2);
  EXPECT_EQ(Floor(-0.5), -1);
  EXPECT_EQ(Floor(-3), -3);
}

TEST(NumberText, DigitPatternAndSignedDecimal) {
  EXPECT_EQ(FormatDigitsPattern(0), "");
  EXPECT_EQ(FormatDigitsPattern(12), "12");
  EXPECT_EQ(FormatDigitsPattern(-5), "-5");
  EXPECT_EQ(FormatDigitsPattern(1234567890123), "1234567890123");

  EXPECT_EQ(SignedDecimalText(2), " 2");
  EXPECT_EQ(SignedDecimalText(12), " 12");
  EXPECT_EQ(SignedDecimalText(0), " 0");
  EXPECT_EQ(SignedDecimalText(-3), "-3");
  EXPECT_EQ(SignedDecimalText(-32768), "-32768");
}

}  // namespace
}  // namespace vellora::shell
