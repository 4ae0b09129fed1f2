#include <gtest/gtest.h>

#include "command_host.h"
#include "controls/property_text.h"

namespace vellora::shell {
namespace {

using testing::CommandHost;

// The colour of the caption's first character in the shown picture (the fake draws a solid
// block for it), for a button of 73 x 25 pixels and a caption of n characters.
Rgb CaptionInk(CommandHost& host, int characters) {
  const int32_t x = (73 - characters * 7) / 2 + 2;
  return host.Shown().Pixel(x, 5 + 4);
}

TEST(CommandProperties, ARoundTripKeepsEveryValue) {
  PropertyBag saved;
  {
    CommandHost host;
    host.Site();
    FontSpec font;
    font.face = "Tahoma";
    font.points = 8.25;
    font.charset = 0;
    host.button.Caption(u8"設定");
    host.button.Font(font);
    host.button.FontColour(0x00FF0000);
    host.button.Visible(0);
    host.button.Enabled(0);
    host.button.WriteProperties(saved);
  }
  CommandHost host;
  host.button.Properties() = saved;
  host.Site();
  EXPECT_EQ(host.button.Caption(), u8"設定");
  EXPECT_EQ(host.button.Font().face, "Tahoma");
  EXPECT_EQ(host.button.Font().points, 8.25);
  EXPECT_EQ(host.button.Visible(), 0);
  // Transparent: the form shows through, while the surface holds the disabled look.
  EXPECT_EQ(host.Shown().Pixel(36, 1), CommandHost::kFormColour);
  EXPECT_EQ(testing::LookAt(host.button.Surface(), 36), "Disable");
  EXPECT_EQ(host.button.Enabled(), 0);
  EXPECT_EQ(host.button.FontColour(), 0x00FF0000u);
  EXPECT_TRUE(host.notices.empty());
}

TEST(CommandProperties, ValuesEqualToTheirDefaultsAreNotStored) {
  CommandHost host;
  host.Site();
  host.button.Caption("...");
  host.button.Enabled(-1);
  PropertyBag bag;
  host.button.WriteProperties(bag);
  EXPECT_EQ(bag.Size(), 1u);
  EXPECT_EQ(bag.Read("Caption", ""), "...");
  // A font other than the host's ambient one is stored as well.
  FontSpec bold;
  bold.weight = 700;
  host.button.Font(bold);
  host.button.WriteProperties(bag);
  EXPECT_EQ(bag.Size(), 2u);
  EXPECT_EQ(bag.Read("font", ""), FontText(bold));
}

TEST(CommandProperties, ACaptionOfCommandComesBackAsCommand1) {
  PropertyBag saved;
  {
    CommandHost host;
    host.Site();
    host.button.Caption("Command");
    host.button.WriteProperties(saved);
  }
  EXPECT_FALSE(saved.Has("Caption"));
  CommandHost host;
  host.button.Properties() = saved;
  host.Site();
  EXPECT_EQ(host.button.Caption(), "Command1");
}

TEST(CommandProperties, TheFontDefaultsToTheFontOfItsContainer) {
  CommandHost host;
  FontSpec ambient;
  ambient.face = "Ambient";
  host.form.SetFont(ambient);
  host.Site();
  EXPECT_EQ(host.button.Font().face, "Ambient");
  PropertyBag bag;
  host.button.WriteProperties(bag);
  EXPECT_FALSE(bag.Has("Font"));
}

TEST(CommandProperties, AnUnreadableValueIsSkippedAndTheRestAreRead) {
  CommandHost host;
  PropertyBag& bag = host.button.Properties();
  bag.Write("ENABLED", "maybe", "");
  bag.Write("Caption", "OK", "");
  bag.Write("Font", "not a font", "");
  bag.Write("FontColour", "255", "");
  bag.Write("Visible", "2", "");
  host.Site();
  EXPECT_EQ(host.button.Caption(), "OK");
  EXPECT_EQ(host.button.Font().face, FontSpec{}.face);
  EXPECT_EQ(host.button.FontColour(), 255u);
  EXPECT_EQ(host.button.Visible(), 255);
  EXPECT_EQ(host.button.Enabled(), 0);  // still the new instance's 0, and FirstRun is 1
}

TEST(CommandProperties, FirstRunZeroGivesBlackCaptionTextUntilEnabledIsRead) {
  CommandHost host;
  PropertyBag& bag = host.button.Properties();
  bag.Write("FirstRun", "0", "1");
  bag.Write("FontColour", "255", "0");  // red
  bag.Write("Caption", "Go", "");
  host.Site();
  EXPECT_EQ(CaptionInk(host, 2), (Rgb{0, 0, 0}));
  host.button.FontColour(255);
  EXPECT_EQ(CaptionInk(host, 2), (Rgb{0, 0, 0}));
  EXPECT_EQ(host.button.FontColour(), 0u);
  EXPECT_EQ(host.button.Enabled(), -1);  // the first read sets FirstRun to 1
  host.button.FontColour(255);
  EXPECT_EQ(CaptionInk(host, 2), (Rgb{255, 0, 0}));
  PropertyBag saved;
  host.button.WriteProperties(saved);
  EXPECT_FALSE(saved.Has("FirstRun"));
}

TEST(CommandProperties, WritesReportTheChangeExceptAFailedColour) {
  CommandHost host;
  host.Site();
  host.button.Caption("A");
  host.button.Font(FontSpec{});
  host.button.FontColour(0x00808080);
  host.button.FontColour(0x7F000000);  // not a colour
  host.button.Visible(1);
  host.button.Enabled(-1);
  EXPECT_EQ(host.notices, (std::vector<std::string>{"Caption", "Font", "FontColour", "Visible", "Enabled"}));
  EXPECT_EQ(host.button.FontColour(), 0x00808080u);
  host.button.FontColour(0x80000012);  // the system's button text colour is taken
  EXPECT_EQ(host.button.FontColour(), 0x80000012u);
}

}  // namespace
}  // namespace vellora::shell
