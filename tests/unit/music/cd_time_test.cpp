// Positions on a disc in the msf, tmsf and milliseconds time formats.
#include "music/platform/linux/cd_time.h"

#include <gtest/gtest.h>

namespace vellora::shell::mci {
namespace {

// Three tracks: sectors 0-19, 20-4519 (a minute), 4520-4599.
DiscLayout Disc() {
  DiscLayout disc;
  disc.trackStarts = {0, 20, 4520};
  disc.audio = {true, true, true};
  disc.leadOut = 4600;
  return disc;
}

TEST(CdTimeTest, TmsfCountsFromTheStartOfTheTrack) {
  const DiscLayout disc = Disc();
  EXPECT_EQ(FormatPosition(TimeFormat::Tmsf, disc, 4520), "03:00:00:00");
  EXPECT_EQ(FormatPosition(TimeFormat::Tmsf, disc, 20 + 75 * 59 + 7), "02:00:59:07");
  EXPECT_EQ(FormatPosition(TimeFormat::Tmsf, disc, 4600), "03:00:01:05");  // the lead-out
  EXPECT_EQ(ParsePosition(TimeFormat::Tmsf, disc, "03:00:00:00"), 4520);
  EXPECT_EQ(ParsePosition(TimeFormat::Tmsf, disc, "2"), 20);
  EXPECT_EQ(ParsePosition(TimeFormat::Tmsf, disc, "2:1"), 20 + 75 * 60);
  EXPECT_EQ(ParsePosition(TimeFormat::Tmsf, disc, "2:0:1:5"), 20 + 80);
}

TEST(CdTimeTest, MsfAndMillisecondsAreDiscTimesAfterTheLeadIn) {
  const DiscLayout disc = Disc();
  EXPECT_EQ(FormatPosition(TimeFormat::Msf, disc, 0), "00:02:00");
  EXPECT_EQ(FormatPosition(TimeFormat::Msf, disc, 4520), "01:02:20");
  EXPECT_EQ(FormatPosition(TimeFormat::Milliseconds, disc, 75), "3000");
  EXPECT_EQ(ParsePosition(TimeFormat::Msf, disc, "00:02:20"), 20);
  EXPECT_EQ(ParsePosition(TimeFormat::Msf, disc, "1:2:20"), 4520);
  EXPECT_EQ(ParsePosition(TimeFormat::Milliseconds, disc, "3000"), 75);
  EXPECT_EQ(FormatLength(TimeFormat::Tmsf, 4500), "01:00:00");
  EXPECT_EQ(FormatLength(TimeFormat::Milliseconds, 4500), "60000");
}

TEST(CdTimeTest, PositionsOffTheDiscOrMalformedAreRefused) {
  const DiscLayout disc = Disc();
  for (const char* text : {"4", "0", "Error:282", "", "3:", ":3", "2:0:60", "2:0:0:75", "1:2:3:4:5",
                           "1234", "03:00:01:06", "a"}) {
    EXPECT_FALSE(ParsePosition(TimeFormat::Tmsf, disc, text).has_value()) << text;
  }
  EXPECT_FALSE(ParsePosition(TimeFormat::Msf, disc, "00:01:74").has_value());  // in the lead-in
  EXPECT_FALSE(ParsePosition(TimeFormat::Msf, disc, "02:00:00").has_value());  // past the end
  EXPECT_FALSE(ParsePosition(TimeFormat::Milliseconds, disc, "99999999999").has_value());
  EXPECT_FALSE(ParsePosition(TimeFormat::Tmsf, DiscLayout(), "1").has_value());
}

TEST(CdTimeTest, TrackAtASector) {
  const DiscLayout disc = Disc();
  EXPECT_EQ(disc.TrackAt(0), 1);
  EXPECT_EQ(disc.TrackAt(19), 1);
  EXPECT_EQ(disc.TrackAt(20), 2);
  EXPECT_EQ(disc.TrackAt(4600), 3);
  EXPECT_EQ(disc.TrackEnd(3), 4600);
  EXPECT_EQ(disc.TrackEnd(1), 20);
}

TEST(CdTimeTest, AudioSpansLeaveOutDataTracksAndJoinAdjoiningAudio) {
  DiscLayout disc = Disc();
  EXPECT_EQ(disc.AudioSpans(10, 4600), (std::vector<SectorSpan>{{10, 4600}}));
  disc.audio = {true, false, true};
  EXPECT_EQ(disc.AudioSpans(0, 4600), (std::vector<SectorSpan>{{0, 20}, {4520, 4600}}));
  EXPECT_EQ(disc.AudioSpans(30, 4530), (std::vector<SectorSpan>{{4520, 4530}}));
  EXPECT_TRUE(disc.AudioSpans(20, 4520).empty());
}

TEST(CdTimeTest, TablesOfContentsThatMakeNoSenseAreInvalid) {
  EXPECT_TRUE(Disc().Valid());
  DiscLayout disc = Disc();
  disc.trackStarts = {4700, 20, 4520};  // the first track after the lead-out
  EXPECT_FALSE(disc.Valid());
  disc = Disc();
  disc.leadOut = 4520;
  EXPECT_FALSE(disc.Valid());
  disc = Disc();
  disc.audio.pop_back();
  EXPECT_FALSE(disc.Valid());
  EXPECT_FALSE(DiscLayout().Valid());
}

}  // namespace
}  // namespace vellora::shell::mci
