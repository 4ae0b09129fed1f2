// The music module against a recording media interface: the exact command strings, their
// order, the reply lengths, ApiResult and the polls' decisions.
#include "music/vellora_bgm.h"

#include <gtest/gtest.h>

#include "recording_media.h"
#include "settings/settings_variables.h"

namespace vellora::shell {
namespace {

using testing::RecordingMedia;
using Commands = std::vector<std::string>;

constexpr int32_t kNotReady = 276;
constexpr int32_t kOutOfRange = 282;

class VelloraBgmTest : public ::testing::Test {
 protected:
  void SetUp() override {
    BgmMode = kBgmModeNone;
    BgmRepeatTrack = 0;
    BgmFile.clear();
    ApiResult = 12345;  // a value no call produces, to see which calls write it
  }

  // A disc of five tracks whose status queries answer.
  void InsertDisc(const std::string& currentTrack, const std::string& mode) {
    media.answers["status cdaudio current track"] = {0, currentTrack};
    media.answers["status cdaudio number of tracks"] = {0, "5"};
    media.answers["status cdaudio mode"] = {0, mode};
    media.answers["status cdaudio position track 3"] = {0, "03:00:00:00"};
    media.answers["play cdaudio from 03:00:00:00"] = {0, ""};
    media.answers["play cdaudio"] = {0, ""};
  }

  RecordingMedia media;
  VelloraBgm bgm{media};
};

const Commands kStatusQueries = {"status cdaudio current track",
                                 "status cdaudio number of tracks", "status cdaudio mode"};

Commands StatusQueriesThen(std::initializer_list<std::string> more) {
  Commands all = kStatusQueries;
  all.insert(all.end(), more);
  return all;
}

TEST_F(VelloraBgmTest, OpenAndCloseSendTheirCommandsWithoutReplyAndKeepTheLastCode) {
  media.answers["open cdaudio"] = {0, ""};
  media.answers["stop cdaudio"] = {kNotReady, ""};
  media.answers["close cdaudio"] = {0, ""};

  bgm.OpenCdAudio();
  EXPECT_EQ(media.commands, (Commands{"open cdaudio", "set cdaudio time format tmsf"}));
  EXPECT_EQ(media.replyLengths, (std::vector<uint32_t>{0, 0}));
  EXPECT_EQ(ApiResult, 263);  // the time format command is not in the table

  media.TakeCommands();
  bgm.CloseCdAudio();
  EXPECT_EQ(media.commands, (Commands{"stop cdaudio", "close cdaudio"}));
  EXPECT_EQ(media.replyLengths, (std::vector<uint32_t>{0, 0}));
  EXPECT_EQ(ApiResult, 0);
  EXPECT_TRUE(media.errorTextCodes.empty());
}

TEST_F(VelloraBgmTest, RepeatTrackStartsOnAStoppedDiscAndReturnsWhenTheNextTrackComesUp) {
  BgmRepeatTrack = 3;
  InsertDisc("1", "stopped");

  bgm.PollCdAudio();
  EXPECT_EQ(media.commands, StatusQueriesThen({"status cdaudio position track 3",
                                               "play cdaudio from 03:00:00:00"}));
  EXPECT_EQ(media.replyLengths, (std::vector<uint32_t>{512, 512, 255, 512, 512}));
  EXPECT_EQ(bgm.CdPollActive(), -1);
  EXPECT_EQ(ApiResult, 0);

  // Track 3 playing: the polls only look.
  media.TakeCommands();
  InsertDisc("3", "playing");
  bgm.PollCdAudio();
  bgm.PollCdAudio();
  EXPECT_EQ(media.TakeCommands(), StatusQueriesThen({"status cdaudio current track",
                                                     "status cdaudio number of tracks",
                                                     "status cdaudio mode"}));

  // Track 4 has come up: the next poll sends the drive back.
  InsertDisc("4", "playing");
  bgm.PollCdAudio();
  EXPECT_EQ(media.TakeCommands(), StatusQueriesThen({"status cdaudio position track 3",
                                                     "play cdaudio from 03:00:00:00"}));
  EXPECT_EQ(bgm.CdPollActive(), -1);
}

// The repeat poll reads the current track as a number: blanks around it do not count, anything
// else fails the poll.
TEST_F(VelloraBgmTest, RepeatTrackReadsTheCurrentTrackAsANumber) {
  BgmRepeatTrack = 3;
  const Commands startTrack3 = StatusQueriesThen({"status cdaudio position track 3", "play cdaudio from 03:00:00:00"});
  const struct {
    const char* track;
    const char* mode;
    Commands sent;
    int active;
  } rows[] = {{" 3 ", "playing", kStatusQueries, -1},
              {"3", "stopped", startTrack3, -1},  // a stopped disc on the repeat track itself starts again
              {"three", "stopped", kStatusQueries, 0},
              {"", "stopped", kStatusQueries, 0},
              {"3x", "stopped", kStatusQueries, 0}};
  for (const auto& row : rows) {
    InsertDisc(row.track, row.mode);
    bgm.PollCdAudio();
    EXPECT_EQ(media.TakeCommands(), row.sent) << '"' << row.track << '"';
    EXPECT_EQ(bgm.CdPollActive(), row.active) << '"' << row.track << '"';
  }
}

TEST_F(VelloraBgmTest, WholeDiscIsPlayedOnlyWhileTheModeBeginsWithStopped) {
  InsertDisc("2", "playing");
  bgm.PollCdAudio();
  EXPECT_EQ(media.TakeCommands(), kStatusQueries);

  InsertDisc("not a number", "stopped");  // the track is never looked at
  bgm.PollCdAudio();
  EXPECT_EQ(media.TakeCommands(), StatusQueriesThen({"play cdaudio"}));

  // Only the first seven characters count, and they count exactly.
  InsertDisc("2", "stopped at the end");
  bgm.PollCdAudio();
  EXPECT_EQ(media.TakeCommands(), StatusQueriesThen({"play cdaudio"}));
  for (const char* mode : {"Stopped", "stoppe", "paused", "not ready", ""}) {
    InsertDisc("2", mode);
    bgm.PollCdAudio();
    EXPECT_EQ(media.TakeCommands(), kStatusQueries) << mode;
  }
  EXPECT_EQ(bgm.CdPollActive(), -1);
}

// A failed status query ends the poll there and switches it off; the next poll that gets its
// answers is active again.
TEST_F(VelloraBgmTest, AFailedStatusQueryEndsThePollAndSwitchesItOff) {
  // No disc: the first query fails.
  media.answers["status cdaudio current track"] = {kNotReady, ""};
  media.errorTexts[kNotReady] = "The device is not ready.";
  bgm.PollCdAudio();
  EXPECT_EQ(media.TakeCommands(), Commands{"status cdaudio current track"});
  EXPECT_EQ(bgm.CdPollActive(), 0);
  EXPECT_EQ(ApiResult, kNotReady);
  EXPECT_EQ(bgm.MciReplyText(), "The device is not ready.");
  EXPECT_EQ(media.errorTextCodes, std::vector<int32_t>{kNotReady});

  BgmRepeatTrack = 3;
  InsertDisc("3", "playing");
  bgm.PollCdAudio();
  EXPECT_EQ(bgm.CdPollActive(), -1);

  // The disc removed during the session: every query now fails.
  media.answers.clear();
  media.TakeCommands();
  bgm.PollCdAudio();
  EXPECT_EQ(media.TakeCommands(), Commands{"status cdaudio current track"});
  EXPECT_EQ(bgm.CdPollActive(), 0);

  // A failed track count ends the poll before the mode query.
  InsertDisc("1", "stopped");
  media.answers["status cdaudio number of tracks"] = {kNotReady, ""};
  bgm.PollCdAudio();
  EXPECT_EQ(media.TakeCommands(), (Commands{"status cdaudio current track", "status cdaudio number of tracks"}));
  EXPECT_EQ(bgm.CdPollActive(), 0);
}

TEST_F(VelloraBgmTest, FailedPositionQueryIsSentAsTheStartAndFailsSilently) {
  BgmRepeatTrack = 9;
  InsertDisc("1", "stopped");
  media.answers["status cdaudio position track 9"] = {kOutOfRange, ""};

  bgm.PollCdAudio();
  EXPECT_EQ(media.commands, StatusQueriesThen({"status cdaudio position track 9",
                                               "play cdaudio from Error:282"}));
  EXPECT_EQ(bgm.CdPollActive(), -1);
  EXPECT_EQ(bgm.MciReplyText(), kMciNoErrorText);  // the failed play had no error text
}

TEST_F(VelloraBgmTest, FailedModeQueryKeepsTheLastModeAndSetsApiResult) {
  InsertDisc("1", "stopped");
  bgm.PollCdAudio();
  media.TakeCommands();

  media.answers["status cdaudio mode"] = {kNotReady, "garbage"};
  bgm.PollCdAudio();
  EXPECT_EQ(bgm.CdModeBuffer(), "stopped");
  EXPECT_EQ(media.TakeCommands(), StatusQueriesThen({"play cdaudio"}));
  EXPECT_EQ(bgm.CdPollActive(), -1);
  EXPECT_EQ(ApiResult, 0);  // written by the play that followed the failed query
}

TEST_F(VelloraBgmTest, EmptyCommandIsNeverSent) {
  std::string result = "old";
  EXPECT_EQ(bgm.SendMciCommand("", result), -1);
  EXPECT_EQ(result, kMciEmptyCommandText);
  EXPECT_TRUE(media.commands.empty());
  EXPECT_EQ(ApiResult, 12345);

  EXPECT_EQ(bgm.MciQuery(""), "Error:-1");
  EXPECT_EQ(ApiResult, -1);
  EXPECT_TRUE(media.commands.empty());
}

TEST_F(VelloraBgmTest, SendMciCommandGivesTheReplyOrTheErrorText) {
  media.answers["status cdaudio mode"] = {0, std::string("playing\0junk", 12)};
  media.answers["status x mode"] = {263, ""};
  media.errorTexts[263] = "The specified device is not open.";

  std::string result;
  EXPECT_EQ(bgm.SendMciCommand("status cdaudio mode", result), 0);
  EXPECT_EQ(result, "playing");
  EXPECT_EQ(media.replyLengths.back(), 512u);
  EXPECT_EQ(ApiResult, 0);

  EXPECT_EQ(bgm.SendMciCommand("status x mode", result), 263);
  EXPECT_EQ(result, "The specified device is not open.");
  EXPECT_EQ(ApiResult, 263);

  // The platform has no text for the code.
  media.errorTexts.clear();
  EXPECT_EQ(bgm.SendMciCommand("status x mode", result), 263);
  EXPECT_EQ(result, kMciNoErrorText);
  EXPECT_EQ(bgm.MciQuery("status x mode"), "Error:263");
}

TEST_F(VelloraBgmTest, MciPlayPutsTheWordsInOrder) {
  bgm.MciPlay("cdaudio", "", "");
  bgm.MciPlay("cdaudio", "02:00:00:00", "");
  bgm.MciPlay("cdaudio", "", "04:00:00:00");
  bgm.MciPlay("cdaudio", "02:00:00:00", "04:00:00:00");
  EXPECT_EQ(media.commands, (Commands{"play cdaudio", "play cdaudio from 02:00:00:00",
                                      "play cdaudio to 04:00:00:00",
                                      "play cdaudio from 02:00:00:00 to 04:00:00:00"}));
}

TEST_F(VelloraBgmTest, Mp3PathWithSpacesIsQuotedAndPlayedWhenItOpens) {
  BgmFile = "C:\\My Music\\夏 の 歌.mp3";
  media.answers["open \"C:\\My Music\\夏 の 歌.mp3\" type MPEGVideo Alias MP3Play"] = {0, ""};
  media.answers["play MP3Play"] = {0, ""};

  bgm.PlayMp3File();
  EXPECT_EQ(media.commands,
            (Commands{"open \"C:\\My Music\\夏 の 歌.mp3\" type MPEGVideo Alias MP3Play",
                      "play MP3Play"}));
  EXPECT_EQ(media.replyLengths, (std::vector<uint32_t>{0, 0}));
  EXPECT_EQ(ApiResult, 12345);
}

TEST_F(VelloraBgmTest, Mp3ThatCannotBeOpenedIsNotPlayedAndAPathWithAQuoteIsNeverSent) {
  BgmFile = "C:\\missing.mp3";
  bgm.PlayMp3File();
  EXPECT_EQ(media.TakeCommands(), Commands{"open \"C:\\missing.mp3\" type MPEGVideo Alias MP3Play"});
  EXPECT_EQ(ApiResult, 12345);

  BgmFile = "C:\\a.mp3\" type waveaudio alias Other wait \"";
  media.unknownCode = 0;  // a platform that would take anything
  bgm.PlayMp3File();
  EXPECT_TRUE(media.commands.empty());
}

TEST_F(VelloraBgmTest, IsMp3PlayingReadsTheFirstSevenCharactersOfA30CharacterReply) {
  EXPECT_FALSE(bgm.IsMp3Playing());  // nothing has answered yet
  EXPECT_EQ(media.replyLengths, std::vector<uint32_t>{30});

  media.answers["status MP3Play mode"] = {0, "playing"};
  EXPECT_TRUE(bgm.IsMp3Playing());
  EXPECT_EQ(bgm.Mp3ModeBuffer(), "playing" + std::string(23, ' '));

  media.answers["status MP3Play mode"] = {0, std::string(40, 'x')};
  EXPECT_FALSE(bgm.IsMp3Playing());
  EXPECT_EQ(bgm.Mp3ModeBuffer(), std::string(30, 'x'));

  for (const char* mode : {"Playing", "playin", "paused", "stopped", ""}) {
    media.answers["status MP3Play mode"] = {0, mode};
    EXPECT_FALSE(bgm.IsMp3Playing()) << mode;
  }
}

TEST_F(VelloraBgmTest, FailedMp3QueryKeepsThePreviousMode) {
  media.answers["status MP3Play mode"] = {0, "playing"};
  ASSERT_TRUE(bgm.IsMp3Playing());
  media.answers["status MP3Play mode"] = {263, "stopped"};
  EXPECT_TRUE(bgm.IsMp3Playing());
}

TEST_F(VelloraBgmTest, KeepMp3PlayingRestartsAStoppedFileWithinOnePoll) {
  media.answers["status MP3Play mode"] = {0, "playing"};
  bgm.KeepMp3Playing();
  EXPECT_EQ(media.TakeCommands(), Commands{"status MP3Play mode"});

  media.answers["status MP3Play mode"] = {0, "stopped"};
  bgm.KeepMp3Playing();
  EXPECT_EQ(media.commands,
            (Commands{"status MP3Play mode", "stop MP3Play", "play MP3Play from 0"}));
  EXPECT_EQ(media.replyLengths, (std::vector<uint32_t>{30, 0, 0}));
  EXPECT_EQ(ApiResult, 12345);

  // With no MP3Play at all the restart is still tried, and fails silently.
  media.answers.clear();
  media.TakeCommands();
  bgm.KeepMp3Playing();
  EXPECT_EQ(media.commands,
            (Commands{"status MP3Play mode", "stop MP3Play", "play MP3Play from 0"}));
}

TEST_F(VelloraBgmTest, CloseMp3StopsThenCloses) {
  bgm.CloseMp3();
  EXPECT_EQ(media.commands, (Commands{"stop MP3Play", "close MP3Play"}));
  EXPECT_EQ(media.replyLengths, (std::vector<uint32_t>{0, 0}));
}

TEST_F(VelloraBgmTest, WaveFileLoopsAsynchronouslyWhenThereIsAnOutputDevice) {
  BgmFile = "C:\\Sounds\\loop.wav";
  media.playSoundResult = 1;
  bgm.PlayWaveFile();
  ASSERT_EQ(media.soundCalls.size(), 1u);
  EXPECT_TRUE(media.soundCalls[0].hasSound);
  EXPECT_EQ(media.soundCalls[0].sound, "C:\\Sounds\\loop.wav");
  EXPECT_EQ(media.soundCalls[0].flags, 9u);
  EXPECT_EQ(ApiResult, 1);

  media.playSoundResult = 0;
  bgm.StopWave();
  ASSERT_EQ(media.soundCalls.size(), 2u);
  EXPECT_FALSE(media.soundCalls[1].hasSound);
  EXPECT_EQ(media.soundCalls[1].flags, 0u);
  EXPECT_EQ(ApiResult, 0);
  EXPECT_TRUE(media.commands.empty());
}

TEST_F(VelloraBgmTest, WaveFileIsNotPlayedWithoutAnOutputDevice) {
  BgmFile = "C:\\Sounds\\loop.wav";
  for (int32_t devices : {0, -1}) {
    media.waveDevices = devices;
    bgm.PlayWaveFile();
  }
  EXPECT_EQ(media.deviceCountCalls, 2);
  EXPECT_TRUE(media.soundCalls.empty());
  EXPECT_EQ(ApiResult, 12345);
}

}  // namespace
}  // namespace vellora::shell
