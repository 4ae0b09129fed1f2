#include "platform/gtk/display_resolution.h"

#include <gtest/gtest.h>

#include "platform/gtk/cursor_show_count.h"

namespace vellora::shell {
namespace {

TEST(GtkDisplayResolution, XftDpiIsReadAsADecimalNumber) {
  EXPECT_EQ(ParseDpiResource("96"), 96);
  EXPECT_EQ(ParseDpiResource("120.5"), 120.5);
  EXPECT_EQ(ParseDpiResource(" 144 "), 144);
  EXPECT_EQ(ParseDpiResource(".5"), 0.5);
}

TEST(GtkDisplayResolution, MissingOrMalformedXftDpiGivesZero) {
  EXPECT_EQ(ParseDpiResource(nullptr), 0);
  EXPECT_EQ(ParseDpiResource(""), 0);
  EXPECT_EQ(ParseDpiResource("abc"), 0);
  EXPECT_EQ(ParseDpiResource("96dpi"), 0);
  EXPECT_EQ(ParseDpiResource("-96"), 0);
  EXPECT_EQ(ParseDpiResource("0"), 0);
  EXPECT_EQ(ParseDpiResource("96,5"), 0);  // a comma is not a decimal point here
}

TEST(GtkDisplayResolution, TwipsPerPixelFollowTheResolution) {
  EXPECT_DOUBLE_EQ(TwipsPerPixelAt(120), 12);
  EXPECT_DOUBLE_EQ(TwipsPerPixelAt(0), 15);  // unknown: the usual 96 dpi
}

TEST(GtkCursorShowCount, OnlyCrossingBetweenShownAndHiddenChangesTheScreen) {
  CursorShowCount count;
  using Change = CursorShowCount::Change;
  EXPECT_EQ(count.Step(false), Change::Hide);
  EXPECT_EQ(count.Step(false), Change::Unchanged);  // hidden twice: needs two shows
  EXPECT_EQ(count.Step(true), Change::Unchanged);
  EXPECT_EQ(count.Step(true), Change::Show);
  EXPECT_EQ(count.Step(true), Change::Unchanged);  // shown with a count of 1
  EXPECT_EQ(count.Step(false), Change::Unchanged);
  EXPECT_EQ(count.Step(false), Change::Hide);
  EXPECT_EQ(count.Count(), -1);
}

}  // namespace
}  // namespace vellora::shell
