// The user's decimal separator from the locale the environment names, and typed numbers read
// with it, while the program itself stays in the C locale.
#include "platform/posix/posix_number_format.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <optional>
#include <string>

namespace vellora::shell {
namespace {

TEST(LocaleNumberFormat, TypedNumbersFollowTheUsersDecimalSeparator) {
  ASSERT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "C");
  const struct {
    const char* locale;  // installed by scripts/setup.sh
    const char* separator;
    const char* text;
    std::optional<double> value;
  } cases[] = {
      {"C", ".", "5.5", 5.5},           {"C", ".", "5,5", std::nullopt},
      {"ja_JP.UTF-8", ".", " 5.5 ", 5.5}, {"ja_JP.UTF-8", ".", "5,5", std::nullopt},
      {"de_DE.UTF-8", ",", "5,5", 5.5},   {"de_DE.UTF-8", ",", "\t-1,5E1 ", -15.0},
      {"de_DE.UTF-8", ",", "5.5", std::nullopt}, {"de_DE.UTF-8", ",", ",", std::nullopt},
      {"xx_NONE.UTF-8", ".", "5.5", 5.5},  // not a locale: the C format
  };
  for (const auto& c : cases) {
    const NumberFormat format = LocaleNumberFormat(c.locale);
    EXPECT_EQ(format.decimalSeparator, c.separator) << c.locale;
    EXPECT_EQ(NumericTextValue(c.text, format), c.value) << c.locale << " \"" << c.text << '"';
    EXPECT_EQ(IsNumericText(c.text, format), c.value.has_value()) << c.locale << " \"" << c.text << '"';
  }

  // "" is the user's locale from the environment.
  const char* saved = std::getenv("LC_ALL");
  const std::string previous = saved ? saved : "";
  setenv("LC_ALL", "de_DE.UTF-8", 1);
  EXPECT_EQ(LocaleNumberFormat("").decimalSeparator, ",");
  if (saved) setenv("LC_ALL", previous.c_str(), 1); else unsetenv("LC_ALL");
  EXPECT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "C");
}

}  // namespace
}  // namespace vellora::shell
