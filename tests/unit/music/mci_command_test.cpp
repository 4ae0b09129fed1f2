// The media command parser: the words of a command, its keywords, and what it refuses.
#include "music/platform/linux/mci_command.h"

#include <gtest/gtest.h>

#include "music/platform/linux/mci_errors.h"

namespace vellora::shell::mci {
namespace {

Request Parsed(std::string_view command) {
  Request request;
  EXPECT_EQ(ParseCommand(command, request), 0) << command;
  return request;
}

int32_t ErrorOf(std::string_view command) {
  Request request;
  return ParseCommand(command, request);
}

TEST(MciCommandTest, OpenTakesAQuotedPathWithSpacesATypeAndAnAlias) {
  const Request open = Parsed("open \"C:\\My Music\\夏 の 歌.mp3\" type MPEGVideo Alias MP3Play");
  EXPECT_EQ(open.verb, Verb::Open);
  EXPECT_EQ(open.device, "C:\\My Music\\夏 の 歌.mp3");
  EXPECT_TRUE(open.deviceQuoted);
  EXPECT_EQ(open.type, "MPEGVideo");
  EXPECT_EQ(open.alias, "MP3Play");

  const Request cd = Parsed("  OPEN   cdaudio\tshareable ");
  EXPECT_EQ(cd.device, "cdaudio");
  EXPECT_FALSE(cd.deviceQuoted);
  EXPECT_FALSE(cd.alias.has_value());
}

TEST(MciCommandTest, DoubleQuotesOnlyEncloseAWholeWord) {
  EXPECT_EQ(ErrorOf("open \"C:\\a.mp3"), kNoClosingQuote);
  EXPECT_EQ(ErrorOf("open \"C:\\a\"b.mp3\" type MPEGVideo"), kExtraCharacters);
  EXPECT_EQ(ErrorOf("open C:\\a\"b.mp3 type MPEGVideo"), kExtraCharacters);
  // What a file name with quotes in it would make of the command.
  EXPECT_EQ(ErrorOf("open \"x\" alias Other \"\" type MPEGVideo Alias MP3Play"), kUnrecognizedKeyword);
  EXPECT_EQ(ErrorOf("open \"x\" alias Other type MPEGVideo Alias MP3Play"), kDuplicateFlags);
  // A quoted word is never a keyword.
  EXPECT_EQ(ErrorOf("open \"x\" \"type\" MPEGVideo"), kUnrecognizedKeyword);
  EXPECT_EQ(ErrorOf("\"play\" cdaudio"), kUnrecognizedCommand);
  EXPECT_EQ(ErrorOf("open \"\" type MPEGVideo"), kMissingDeviceName);
}

TEST(MciCommandTest, PlayTakesFromAndToOnceEach) {
  const Request both = Parsed("play cdaudio from 03:00:00:00 to 4");
  EXPECT_EQ(both.verb, Verb::Play);
  EXPECT_EQ(both.from, "03:00:00:00");
  EXPECT_EQ(both.to, "4");
  EXPECT_FALSE(Parsed("play MP3Play").from.has_value());
  EXPECT_EQ(Parsed("PLAY MP3Play FROM 0").from, "0");

  EXPECT_EQ(ErrorOf("play cdaudio from 1 from 2"), kDuplicateFlags);
  EXPECT_EQ(ErrorOf("play cdaudio from"), kMissingParameter);
  EXPECT_EQ(ErrorOf("play cdaudio wait"), kUnrecognizedKeyword);
  EXPECT_EQ(ErrorOf("play"), kMissingDeviceName);
}

TEST(MciCommandTest, StatusItems) {
  EXPECT_EQ(Parsed("status cdaudio mode").item, StatusItem::Mode);
  EXPECT_EQ(Parsed("status cdaudio current track").item, StatusItem::CurrentTrack);
  EXPECT_EQ(Parsed("status cdaudio number of tracks").item, StatusItem::NumberOfTracks);
  const Request position = Parsed("status cdaudio position track 12");
  EXPECT_EQ(position.item, StatusItem::Position);
  EXPECT_EQ(position.track, 12u);
  EXPECT_FALSE(Parsed("status cdaudio position").track.has_value());
  EXPECT_EQ(Parsed("status cdaudio length track 2").item, StatusItem::Length);
  EXPECT_EQ(Parsed("Status CDAudio Time Format").item, StatusItem::TimeFormat);

  EXPECT_EQ(ErrorOf("status cdaudio"), kMissingParameter);
  EXPECT_EQ(ErrorOf("status cdaudio position track"), kMissingParameter);
  EXPECT_EQ(ErrorOf("status cdaudio position track Error:282"), kBadInteger);
  EXPECT_EQ(ErrorOf("status cdaudio position track -1"), kBadInteger);
  EXPECT_EQ(ErrorOf("status cdaudio current"), kUnrecognizedKeyword);
  EXPECT_EQ(ErrorOf("status cdaudio mode mode"), kUnrecognizedKeyword);
}

TEST(MciCommandTest, SetTimeFormat) {
  EXPECT_EQ(Parsed("set cdaudio time format tmsf").timeFormat, TimeFormat::Tmsf);
  EXPECT_EQ(Parsed("set cdaudio time format msf").timeFormat, TimeFormat::Msf);
  EXPECT_EQ(Parsed("set cdaudio time format ms").timeFormat, TimeFormat::Milliseconds);
  EXPECT_EQ(Parsed("set x time format milliseconds").timeFormat, TimeFormat::Milliseconds);
  EXPECT_EQ(ErrorOf("set cdaudio time format frames"), kBadTimeFormat);
  EXPECT_EQ(ErrorOf("set cdaudio time format"), kMissingParameter);
  EXPECT_EQ(ErrorOf("set cdaudio door open"), kUnrecognizedKeyword);
}

TEST(MciCommandTest, UnknownAndEmptyCommands) {
  EXPECT_EQ(ErrorOf(""), kMissingCommandString);
  EXPECT_EQ(ErrorOf(" \t "), kMissingCommandString);
  EXPECT_EQ(ErrorOf("sysinfo all quantity"), kUnrecognizedCommand);
  EXPECT_EQ(ErrorOf("stop cdaudio now"), kUnrecognizedKeyword);
  EXPECT_EQ(Parsed("close MP3Play").verb, Verb::Close);
  EXPECT_EQ(Parsed("resume MP3Play").verb, Verb::Resume);
}

}  // namespace
}  // namespace vellora::shell::mci
