// The Linux media interpreter over the real libraries: a BIN/CUE disc image read by libcdio,
// MP3 files decoded by libmpg123, WAV files read by libsndfile, all played through SDL's disk
// audio driver so that what reached the output can be read back and compared.
#include "music/platform/linux/linux_media.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sndfile.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <thread>
#include <utility>

#include "disk_audio.h"
#include "music/platform/linux/cd_audio_source.h"
#include "music/vellora_bgm.h"
#include "settings/settings_variables.h"
#include "test_media_files.h"
#include "tone_check.h"

namespace vellora::shell {
namespace {

using namespace std::chrono_literals;
using testing::Frames;

constexpr size_t kSector = 588;

struct Answer {
  int32_t code = 0;
  std::string reply;
};

Answer Send(MediaInterface& media, std::string_view command, uint32_t replyLength = 512) {
  Answer answer;
  answer.code = media.SendCommand(command, replyLength, answer.reply);
  return answer;
}

// Polls a mode query until it gives the mode; false after the deadline.
bool WaitForMode(MediaInterface& media, const std::string& device, const std::string& mode,
                 std::chrono::milliseconds deadline = 4000ms) {
  const auto end = std::chrono::steady_clock::now() + deadline;
  while (std::chrono::steady_clock::now() < end) {
    if (Send(media, "status " + device + " mode").reply == mode) return true;
    std::this_thread::sleep_for(10ms);
  }
  return false;
}

// Runs of sound in a decoded recording, split at 500 frames or more of near-silence.
std::vector<Frames> Bursts(const Frames& frames) {
  std::vector<Frames> bursts;
  Frames current;
  size_t quiet = 0;
  for (size_t i = 0; i + 1 < frames.size(); i += 2) {
    const bool silent = std::abs(frames[i]) < 50 && std::abs(frames[i + 1]) < 50;
    quiet = silent ? quiet + 1 : 0;
    if (!silent || !current.empty()) {
      current.push_back(frames[i]);
      current.push_back(frames[i + 1]);
    }
    if (quiet == 500 && !current.empty()) {
      current.resize(current.size() - 2 * 500);
      if (!current.empty()) bursts.push_back(current);
      current.clear();
    }
  }
  if (!current.empty()) bursts.push_back(testing::SoundPart(current));
  return bursts;
}

// Sign changes of the left channel.
int ZeroCrossings(const Frames& frames) {
  int crossings = 0;
  for (size_t i = 2; i < frames.size(); i += 2) {
    if ((frames[i - 2] < 0) != (frames[i] < 0)) ++crossings;
  }
  return crossings;
}

// How often the output's feeder thread has gone to sleep so far; -1 when there is no feeder.
long FeederSleeps() {
  for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
    std::string name;
    std::getline(std::ifstream(task.path() / "comm"), name);
    if (name != "vellora-feeder") continue;
    std::ifstream status(task.path() / "status");
    for (std::string line; std::getline(status, line);) {
      if (line.rfind("voluntary_ctxt_switches:", 0) == 0) return std::stol(line.substr(24));
    }
  }
  return -1;
}

// The real drive over a disc image, with the troubles of a real drive: sectors that no read
// gets through (a scratch), sectors that fail a number of reads before they are read, reads
// held up as in a long spin-up, and a disc changed for one whose table of contents is held up
// the same way. Set up before the drive is opened, apart from the disc change.
class TroubledDrive final : public mci::CdDrive {
 public:
  using CdDrive::CdDrive;

  std::set<int32_t> unreadable;
  std::map<int32_t, int> failuresLeft;

  // Every read after the first waits, with the drive held, until Release (or ten seconds).
  void HoldAfterFirstRead() { hold_ = true; }
  // The drive reports a new disc, whose table of contents is held up until Release.
  void ChangeDiscAndHoldItsContents() {
    std::lock_guard<std::mutex> lock(mutex_);
    discChanged_ = true;
    holdToc_ = true;
  }
  bool WaitUntilHolding() {
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, 4s, [this] { return holding_; });
  }
  bool Holding() {
    std::lock_guard<std::mutex> lock(mutex_);
    return holding_;
  }
  void Release() {
    std::lock_guard<std::mutex> lock(mutex_);
    released_ = true;
    changed_.notify_all();
  }

 protected:
  bool ReadSectors(CdIo_t* cdio, int32_t sector, uint32_t count, int16_t* frames) override {
    {
      std::unique_lock<std::mutex> lock(mutex_);
      if (hold_ && reads_++ > 0) Wait(lock);
      for (int32_t at = sector; at < sector + static_cast<int32_t>(count); ++at) {
        if (unreadable.count(at) != 0) return false;
        const auto flaky = failuresLeft.find(at);
        if (flaky != failuresLeft.end() && flaky->second > 0) {
          --flaky->second;
          return false;
        }
      }
    }
    return CdDrive::ReadSectors(cdio, sector, count, frames);
  }
  bool MediaChanged(CdIo_t* cdio) override {
    std::lock_guard<std::mutex> lock(mutex_);
    return std::exchange(discChanged_, false) || CdDrive::MediaChanged(cdio);
  }
  std::optional<mci::DiscLayout> ReadToc(CdIo_t* cdio) override {
    {
      std::unique_lock<std::mutex> lock(mutex_);
      if (holdToc_) Wait(lock);
    }
    return CdDrive::ReadToc(cdio);
  }

 private:
  void Wait(std::unique_lock<std::mutex>& lock) {
    if (released_) return;
    holding_ = true;
    changed_.notify_all();
    changed_.wait_for(lock, 10s, [this] { return released_; });
    holding_ = false;
  }

  std::mutex mutex_;
  std::condition_variable changed_;
  bool hold_ = false;
  bool discChanged_ = false;
  bool holdToc_ = false;
  int reads_ = 0;
  bool holding_ = false;
  bool released_ = false;
};

class LinuxMediaTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "vellora-media-XXXXXX").string();
    folder_ = mkdtemp(pattern.data());
    output_ = folder_ + "/output.raw";
    testing::UseDiskAudio(output_);
    BgmRepeatTrack = 0;
    BgmFile.clear();
    ApiResult = 0;
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  // Ends the interpreter, which closes the output and its file, and reads what was played.
  // The device's last buffers are given time to reach the file first.
  Frames Played(std::unique_ptr<LinuxMedia>& media) {
    std::this_thread::sleep_for(150ms);
    media.reset();
    return testing::ReadRawFrames(output_);
  }

  std::string folder_;
  std::string output_;
};

class CdImageTest : public LinuxMediaTest {
 protected:
  void SetUp() override {
    LinuxMediaTest::SetUp();
    tracks_ = {testing::RampFrames(20 * kSector, 1), testing::RampFrames(15 * kSector, 2),
               testing::RampFrames(40 * kSector, 3)};
    cue_ = testing::WriteCdImage(folder_, "disc", tracks_);
    media_ = std::make_unique<LinuxMedia>(cue_);
    ASSERT_EQ(Send(*media_, "open cdaudio").code, 0);
  }

  // Plays the disc through a drive of the test's own from here on.
  std::shared_ptr<TroubledDrive> UseTroubledDrive() {
    auto drive = std::make_shared<TroubledDrive>(cue_);
    media_ = std::make_unique<LinuxMedia>([drive] { return drive; });
    return drive;
  }
  void OpenInTmsf() {
    ASSERT_EQ(Send(*media_, "open cdaudio").code, 0);
    ASSERT_EQ(Send(*media_, "set cdaudio time format tmsf").code, 0);
  }

  std::vector<Frames> tracks_;
  std::string cue_;
  std::unique_ptr<LinuxMedia> media_;
};

TEST_F(CdImageTest, StatusRepliesDescribeTheDiscInEachTimeFormat) {
  EXPECT_EQ(Send(*media_, "status cdaudio number of tracks").reply, "3");
  EXPECT_EQ(Send(*media_, "status cdaudio current track").reply, "1");
  EXPECT_EQ(Send(*media_, "status cdaudio mode").reply, "stopped");
  EXPECT_EQ(Send(*media_, "status cdaudio time format").reply, "msf");
  EXPECT_EQ(Send(*media_, "status cdaudio position track 2").reply, "00:02:20");

  ASSERT_EQ(Send(*media_, "set cdaudio time format tmsf").code, 0);
  EXPECT_EQ(Send(*media_, "status cdaudio position track 3").reply, "03:00:00:00");
  EXPECT_EQ(Send(*media_, "status cdaudio position").reply, "01:00:00:00");
  EXPECT_EQ(Send(*media_, "status cdaudio length track 2").reply, "00:00:15");
  EXPECT_EQ(Send(*media_, "status cdaudio length").reply, "00:01:00");
  EXPECT_EQ(Send(*media_, "status cdaudio position track 4").code, 282);

  ASSERT_EQ(Send(*media_, "set cdaudio time format milliseconds").code, 0);
  EXPECT_EQ(Send(*media_, "status cdaudio position track 2").reply, "2266");
}

TEST_F(CdImageTest, TrackPlaysToTheEndOfTheDiscAndNothingElseReachesTheOutput) {
  ASSERT_EQ(Send(*media_, "set cdaudio time format tmsf").code, 0);
  ASSERT_EQ(Send(*media_, "play cdaudio from 03:00:00:00").code, 0);
  EXPECT_EQ(Send(*media_, "status cdaudio mode").reply, "playing");
  EXPECT_EQ(Send(*media_, "status cdaudio current track").reply, "3");
  ASSERT_TRUE(WaitForMode(*media_, "cdaudio", "stopped"));
  EXPECT_EQ(Send(*media_, "status cdaudio current track").reply, "3");

  const Frames sound = testing::SoundPart(Played(media_));
  EXPECT_EQ(sound.size(), tracks_[2].size());
  EXPECT_EQ(testing::FindFrames(sound, tracks_[2]), 0);  // every frame of track 3, once
}

TEST_F(CdImageTest, PlayToAPositionStopsThere) {
  ASSERT_EQ(Send(*media_, "set cdaudio time format tmsf").code, 0);
  ASSERT_EQ(Send(*media_, "play cdaudio from 1 to 2").code, 0);
  ASSERT_TRUE(WaitForMode(*media_, "cdaudio", "stopped"));
  EXPECT_EQ(testing::SoundPart(Played(media_)), tracks_[0]);
}

TEST_F(CdImageTest, WholeDiscStartsAgainAfterItHasPlayedToTheEnd) {
  for (int round = 0; round < 2; ++round) {
    ASSERT_EQ(Send(*media_, "play cdaudio").code, 0);
    ASSERT_TRUE(WaitForMode(*media_, "cdaudio", "stopped"));
  }
  Frames disc;
  for (const Frames& track : tracks_) disc.insert(disc.end(), track.begin(), track.end());
  EXPECT_EQ(testing::CountFrames(Played(media_), disc), 2);
}

TEST_F(CdImageTest, BadPositionsAreRefused) {
  ASSERT_EQ(Send(*media_, "set cdaudio time format tmsf").code, 0);
  for (const char* play : {"play cdaudio from Error:282", "play cdaudio from 4", "play cdaudio from 2:00:60:00",
                           "play cdaudio from 3 to 2"})
    EXPECT_EQ(Send(*media_, play).code, 282) << play;
  EXPECT_EQ(Send(*media_, "status cdaudio mode").reply, "stopped");
}

TEST_F(CdImageTest, RemovedDiscIsNotReadyAndItsMusicEnds) {
  ASSERT_EQ(Send(*media_, "play cdaudio").code, 0);
  std::this_thread::sleep_for(100ms);
  std::filesystem::remove(cue_);

  EXPECT_EQ(Send(*media_, "status cdaudio current track").code, 276);
  EXPECT_EQ(Send(*media_, "status cdaudio number of tracks").code, 276);
  EXPECT_EQ(Send(*media_, "status cdaudio mode").reply, "not ready");
  EXPECT_EQ(Send(*media_, "play cdaudio").code, 276);
  std::this_thread::sleep_for(100ms);

  const Frames sound = testing::SoundPart(Played(media_));
  EXPECT_GT(sound.size(), 0u);
  EXPECT_LT(sound.size(), (tracks_[0].size() + tracks_[1].size()));
}

TEST_F(CdImageTest, ReadsThatFailAreRetriedThenSkippedAndThePlayGoesOn) {
  const std::shared_ptr<TroubledDrive> drive = UseTroubledDrive();
  drive->unreadable = {20 + 4};  // in track 2
  // Read at the third try: one in the same read as the bad sector, one in a read of its own.
  drive->failuresLeft = {{20 + 5, 2}, {20 + 11, 2}};
  OpenInTmsf();
  ASSERT_EQ(Send(*media_, "play cdaudio from 2 to 3").code, 0);
  ASSERT_TRUE(WaitForMode(*media_, "cdaudio", "stopped"));
  EXPECT_EQ(Send(*media_, "status cdaudio position").reply, "03:00:00:00");

  // All of track 2 but the one sector that could not be read.
  Frames heard = tracks_[1];
  heard.erase(heard.begin() + 4 * kSector * 2, heard.begin() + 5 * kSector * 2);
  EXPECT_EQ(testing::SoundPart(Played(media_)), heard);

  // The position follows what was heard: from the skipped sector on it runs one sector ahead.
  mci::CdAudioSource sound(drive, {{20, 35}});
  std::vector<float> frames(15 * kSector * 2);
  ASSERT_EQ(sound.Read(frames.data(), 15 * kSector), 14 * kSector);
  EXPECT_EQ(sound.SectorReached(4 * kSector - 1), 23);
  EXPECT_EQ(sound.SectorReached(4 * kSector), 25);
  EXPECT_EQ(sound.SectorReached(14 * kSector), 35);
}

TEST_F(CdImageTest, AHeldUpReadHoldsUpNoCommandAndTheSoundStartsOnAShortFirstRead) {
  const std::shared_ptr<TroubledDrive> drive = UseTroubledDrive();
  drive->HoldAfterFirstRead();
  OpenInTmsf();
  ASSERT_EQ(Send(*media_, "play cdaudio from 3").code, 0);
  ASSERT_TRUE(drive->WaitUntilHolding());

  // What the first read brought is played, and the position moves, while the next is held.
  const auto end = std::chrono::steady_clock::now() + 4s;
  while (Send(*media_, "status cdaudio position").reply == "03:00:00:00" && std::chrono::steady_clock::now() < end) {
    std::this_thread::sleep_for(10ms);
  }
  EXPECT_NE(Send(*media_, "status cdaudio position").reply, "03:00:00:00");
  EXPECT_EQ(Send(*media_, "status cdaudio mode").reply, "playing");
  EXPECT_EQ(Send(*media_, "stop cdaudio").code, 0);
  EXPECT_EQ(Send(*media_, "status cdaudio mode").reply, "stopped");
  EXPECT_EQ(Send(*media_, "play cdaudio from 2").code, 0);
  EXPECT_EQ(Send(*media_, "stop cdaudio").code, 0);
  EXPECT_TRUE(drive->Holding());  // every reply above came while the read was held
  drive->Release();

  const Frames sound = testing::SoundPart(Played(media_));
  ASSERT_GT(sound.size(), 0u);
  EXPECT_EQ(testing::FindFrames(tracks_[2], sound), 0);  // the start of track 3
}

TEST_F(CdImageTest, ADiscChangeWhoseContentsAreHeldUpHoldsUpNoPoll) {
  const std::shared_ptr<TroubledDrive> drive = UseTroubledDrive();
  BgmRepeatTrack = 0;
  VelloraBgm bgm(*media_);
  bgm.OpenCdAudio();
  bgm.PollCdAudio();
  ASSERT_EQ(bgm.CdPollActive(), -1);
  EXPECT_EQ(Send(*media_, "status cdaudio mode").reply, "playing");

  // The session polls on while the new disc's table of contents is held up: each poll is
  // answered from what is known, and the first that finds the old disc gone ends the polling.
  drive->ChangeDiscAndHoldItsContents();
  for (int poll = 0; poll < 50 && bgm.CdPollActive() == -1; ++poll) {
    bgm.PollCdAudio();
    std::this_thread::sleep_for(10ms);
  }
  EXPECT_EQ(bgm.CdPollActive(), 0);
  EXPECT_EQ(Send(*media_, "status cdaudio mode").reply, "not ready");
  EXPECT_TRUE(drive->Holding());  // all of it while the drive held the table of contents
  drive->Release();

  // Once read, the new disc is there to play.
  ASSERT_TRUE(WaitForMode(*media_, "cdaudio", "stopped"));
  EXPECT_EQ(Send(*media_, "status cdaudio number of tracks").reply, "3");
}

TEST_F(CdImageTest, ModuleRepeatsATrackByPolling) {
  ASSERT_EQ(Send(*media_, "close cdaudio").code, 0);
  BgmRepeatTrack = 2;
  VelloraBgm bgm(*media_);
  bgm.OpenCdAudio();
  EXPECT_EQ(ApiResult, 0);
  EXPECT_EQ(Send(*media_, "status cdaudio time format").reply, "tmsf");

  const auto end = std::chrono::steady_clock::now() + 1200ms;
  while (std::chrono::steady_clock::now() < end) {
    bgm.PollCdAudio();
    ASSERT_EQ(bgm.CdPollActive(), -1) << bgm.MciReplyText();
    std::this_thread::sleep_for(40ms);
  }
  bgm.CloseCdAudio();
  EXPECT_EQ(ApiResult, 0);
  EXPECT_EQ(Send(*media_, "status cdaudio mode").code, 263);  // closed

  const Frames played = Played(media_);
  EXPECT_GE(testing::CountFrames(played, tracks_[1]), 2);
  EXPECT_EQ(testing::FindFrames(played, tracks_[0]), -1);
  EXPECT_EQ(testing::FindFrames(played, tracks_[2]), -1);  // cut short every time
}

TEST_F(LinuxMediaTest, DataTracksAreSkippedAndADiscOfDataIsRefused) {
  const std::vector<Frames> tracks = {testing::NoiseFrames(30 * kSector), testing::RampFrames(20 * kSector, 2),
                                      testing::RampFrames(25 * kSector, 3)};
  auto media = std::make_unique<LinuxMedia>(testing::WriteCdImage(folder_, "mixed", tracks, {true}));
  ASSERT_EQ(Send(*media, "open cdaudio").code, 0);
  ASSERT_EQ(Send(*media, "set cdaudio time format tmsf").code, 0);
  EXPECT_EQ(Send(*media, "status cdaudio number of tracks").reply, "3");
  EXPECT_EQ(Send(*media, "status cdaudio position track 2").reply, "02:00:00:00");
  EXPECT_EQ(Send(*media, "play cdaudio from 1").code, 262);
  EXPECT_EQ(Send(*media, "play cdaudio from 1:0:0:29").code, 262);
  EXPECT_EQ(Send(*media, "status cdaudio mode").reply, "stopped");

  ASSERT_EQ(Send(*media, "play cdaudio").code, 0);
  EXPECT_EQ(Send(*media, "status cdaudio current track").reply, "2");
  ASSERT_TRUE(WaitForMode(*media, "cdaudio", "stopped"));
  Frames music = tracks[1];
  music.insert(music.end(), tracks[2].begin(), tracks[2].end());
  EXPECT_EQ(testing::SoundPart(Played(media)), music);

  // A disc of data alone: the module's play fails and its poll ends there, with nothing played.
  media = std::make_unique<LinuxMedia>(testing::WriteCdImage(folder_, "data", {tracks[0]}, {true}));
  VelloraBgm bgm(*media);
  bgm.OpenCdAudio();
  bgm.PollCdAudio();
  EXPECT_EQ(bgm.MciReplyText(), "There is a problem with your media device.");
  EXPECT_EQ(Send(*media, "status cdaudio mode").reply, "stopped");
}

TEST_F(LinuxMediaTest, NoDriveOrAnUnreadableDiscFailsTheFirstPoll) {
  auto media = std::make_unique<LinuxMedia>(folder_ + "/no-such-drive");
  VelloraBgm bgm(*media);
  bgm.OpenCdAudio();
  EXPECT_NE(ApiResult, 0);
  bgm.PollCdAudio();
  EXPECT_EQ(bgm.CdPollActive(), 0);
  EXPECT_EQ(bgm.MciQuery("status cdaudio current track"), "Error:263");

  // A table of contents whose first track starts after the lead-out (sector 20, the image's end).
  testing::WriteCdImage(folder_, "corrupt", {testing::RampFrames(20 * kSector, 1)});
  std::ofstream(folder_ + "/corrupt.cue") << "FILE \"corrupt.bin\" BINARY\r\n"
                                          << "  TRACK 01 AUDIO\r\n    INDEX 01 00:00:30\r\n"
                                          << "  TRACK 02 AUDIO\r\n    INDEX 01 00:00:10\r\n";
  media = std::make_unique<LinuxMedia>(folder_ + "/corrupt.cue");
  VelloraBgm corrupt(*media);
  corrupt.OpenCdAudio();
  EXPECT_EQ(ApiResult, 0);  // a drive with a disc in it
  corrupt.PollCdAudio();
  EXPECT_EQ(corrupt.CdPollActive(), 0);
  EXPECT_EQ(corrupt.MciQuery("status cdaudio current track"), "Error:276");
  EXPECT_EQ(Send(*media, "play cdaudio").code, 276);
}

TEST_F(LinuxMediaTest, Mp3PlaysToItsEndAndIsRestartedByTheModule) {
  const Frames tone = testing::ToneFrames(17640, 441, 44100, 2);  // 0.4 s
  BgmFile = folder_ + "/夏 の 歌.mp3";
  testing::WriteMp3(BgmFile, tone);
  auto media = std::make_unique<LinuxMedia>();
  VelloraBgm bgm(*media);

  bgm.PlayMp3File();
  EXPECT_TRUE(bgm.IsMp3Playing());
  EXPECT_EQ(Send(*media, "status MP3Play length").reply, "400");
  ASSERT_TRUE(WaitForMode(*media, "MP3Play", "stopped"));
  EXPECT_EQ(Send(*media, "status MP3Play position").reply, "400");
  std::this_thread::sleep_for(100ms);  // a gap, to tell the two plays apart

  bgm.KeepMp3Playing();  // the poll that finds it stopped plays it again from the start
  EXPECT_TRUE(bgm.IsMp3Playing());
  ASSERT_TRUE(WaitForMode(*media, "MP3Play", "stopped"));
  bgm.CloseMp3();
  EXPECT_EQ(Send(*media, "status MP3Play mode").code, 263);

  const std::vector<Frames> bursts = Bursts(Played(media));
  ASSERT_EQ(bursts.size(), 2u);
  for (const Frames& burst : bursts) {
    EXPECT_NEAR(static_cast<double>(burst.size() / 2), 17640.0, 600.0);
    EXPECT_NEAR(ZeroCrossings(burst), 2 * 441 * 0.4, 10);
  }
}

TEST_F(LinuxMediaTest, Mp3StopKeepsThePositionAndPauseHolds) {
  const std::string path = folder_ + "/tone.mp3";
  testing::WriteMp3(path, testing::ToneFrames(44100, 441, 44100, 2));
  auto media = std::make_unique<LinuxMedia>();
  ASSERT_EQ(Send(*media, "open \"" + path + "\" type mpegvideo alias Tune").code, 0);
  EXPECT_EQ(Send(*media, "status tune mode").reply, "stopped");
  ASSERT_EQ(Send(*media, "play tune").code, 0);
  std::this_thread::sleep_for(200ms);
  ASSERT_EQ(Send(*media, "pause tune").code, 0);
  EXPECT_EQ(Send(*media, "status tune mode").reply, "paused");
  const std::string paused = Send(*media, "status tune position").reply;
  std::this_thread::sleep_for(100ms);
  EXPECT_EQ(Send(*media, "status tune position").reply, paused);
  EXPECT_GT(std::stoi(paused), 0);
  EXPECT_LT(std::stoi(paused), 1000);
  ASSERT_EQ(Send(*media, "stop tune").code, 0);
  EXPECT_EQ(Send(*media, "status tune mode").reply, "stopped");
  EXPECT_EQ(Send(*media, "status tune position").reply, paused);
  EXPECT_EQ(Send(*media, "play tune from 1001").code, 282);
}

TEST_F(LinuxMediaTest, Mp3StopNeverWaitsForAStalledRead) {
  BgmFile = folder_ + "/share.mp3";
  testing::WriteMp3(BgmFile, testing::ToneFrames(44100, 441, 44100, 2));
  auto media = std::make_unique<LinuxMedia>();
  VelloraBgm bgm(*media);
  ASSERT_EQ(Send(*media, "open \"" + BgmFile + "\" type MPEGVideo Alias MP3Play").code, 0);
  // The file now lies on a share that has stopped answering: a pipe that gives nothing.
  std::filesystem::remove(BgmFile);
  ASSERT_EQ(mkfifo(BgmFile.c_str(), 0600), 0);
  ASSERT_EQ(Send(*media, "play MP3Play").code, 0);
  int share = -1;  // its other end, once the player is reading it
  for (int tries = 0; tries < 400 && share < 0; ++tries) {
    share = open(BgmFile.c_str(), O_WRONLY | O_NONBLOCK);
    if (share < 0) std::this_thread::sleep_for(10ms);
  }
  ASSERT_GE(share, 0);

  // The session's end stops and closes the MP3 while the read waits for the share. Should it
  // wait, the share answers (with the end of the file) after five seconds.
  std::atomic<bool> stopped{false};
  bool answeredFirst = false;
  std::thread shareAnswers([&] {
    for (int wait = 0; wait < 500 && !stopped; ++wait) std::this_thread::sleep_for(10ms);
    answeredFirst = !stopped;
    close(share);
  });
  bgm.CloseMp3();
  stopped = true;
  shareAnswers.join();
  EXPECT_FALSE(answeredFirst);
  EXPECT_EQ(Send(*media, "status MP3Play mode").code, 263);
  EXPECT_TRUE(testing::SoundPart(Played(media)).empty());
}

TEST_F(LinuxMediaTest, Mp3AtAnotherRatePlaysOnPastADamagedStretch) {
  const std::string path = folder_ + "/damaged.mp3";
  testing::WriteMp3(path, testing::ToneFrames(96000, 441, 48000, 2), 48000);  // 2 s
  {
    // Two file-system blocks in the middle lost to zeros, as a bad disk leaves them.
    std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
    file.seekp(static_cast<std::streamoff>(std::filesystem::file_size(path) / 2 / 4096 * 4096));
    const std::string zeros(8192, '\0');
    file.write(zeros.data(), static_cast<std::streamsize>(zeros.size()));
  }
  auto media = std::make_unique<LinuxMedia>();
  ASSERT_EQ(Send(*media, "open \"" + path + "\" type mpegvideo alias Tune").code, 0);
  EXPECT_EQ(Send(*media, "status tune length").reply, "2000");
  ASSERT_EQ(Send(*media, "play tune").code, 0);
  ASSERT_TRUE(WaitForMode(*media, "tune", "stopped"));

  // 8 KiB at 128 kbit/s is half a second: what lies before and after it is heard, in tune, at
  // the file's own rate, which the device has taken.
  const Frames sound = testing::SoundPart(Played(media));
  EXPECT_NEAR(static_cast<double>(sound.size() / 2) / 48000, 1.5, 0.1);
  // Half a second from the start, and half a second up to a tenth before the end (the end
  // itself fades into the decoder's faint tail).
  const long halfSecond = 2 * 24000;
  const auto last = sound.end() - 2 * 4800;
  ASSERT_GT(sound.size(), static_cast<size_t>(3 * halfSecond));
  EXPECT_NEAR(ZeroCrossings(Frames(sound.begin(), sound.begin() + halfSecond)), 441, 3);
  EXPECT_NEAR(ZeroCrossings(Frames(last - halfSecond, last)), 441, 3);
}

TEST_F(LinuxMediaTest, FilesThatCannotBeOpenedAsMp3) {
  auto media = std::make_unique<LinuxMedia>();
  EXPECT_EQ(Send(*media, "open \"" + folder_ + "/missing.mp3\" type MPEGVideo Alias A").code, 275);
  std::ofstream(folder_ + "/text.mp3") << "not an MPEG audio file at all\n";
  EXPECT_EQ(Send(*media, "open \"" + folder_ + "/text.mp3\" type MPEGVideo Alias A").code, 296);
  EXPECT_EQ(Send(*media, "status A mode").code, 263);

  const std::string good = folder_ + "/good.mp3";
  testing::WriteMp3(good, testing::ToneFrames(4410, 441, 44100, 2));
  EXPECT_EQ(Send(*media, "open \"" + good + "\" type waveaudio alias A").code, 263);
  ASSERT_EQ(Send(*media, "open \"" + good + "\" type MPEGVideo Alias A").code, 0);
  EXPECT_EQ(Send(*media, "open \"" + good + "\" type MPEGVideo Alias a").code, 289);
}

TEST_F(LinuxMediaTest, WaveLoopsSeamlesslyUntilStopped) {
  const Frames ramp = testing::RampFrames(4410, 7);  // 0.1 s
  BgmFile = folder_ + "/loop.wav";
  testing::WriteWave(BgmFile, ramp, 44100, 2);
  auto media = std::make_unique<LinuxMedia>();
  VelloraBgm bgm(*media);

  bgm.PlayWaveFile();
  EXPECT_EQ(ApiResult, 1);
  const auto started = std::chrono::steady_clock::now();
  const long sleepsBefore = FeederSleeps();
  std::this_thread::sleep_for(450ms);
  // The feeder reads a second and a half ahead at a time, then sleeps until half is played.
  EXPECT_LE(FeederSleeps() - sleepsBefore, 4);
  ApiResult = 0;
  bgm.StopWave();
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  EXPECT_EQ(ApiResult, 1);
  std::this_thread::sleep_for(100ms);

  const Frames sound = testing::SoundPart(Played(media));
  Frames twoLoops = ramp;
  twoLoops.insert(twoLoops.end(), ramp.begin(), ramp.end());
  EXPECT_EQ(testing::FindFrames(sound, twoLoops), 0);
  // Loop after loop with nothing between, and nothing after the stop.
  EXPECT_GE(sound.size() / 2, static_cast<size_t>(0.2 * 44100));
  EXPECT_LE(sound.size() / 2, static_cast<size_t>((seconds + 0.1) * 44100));
  for (size_t i = 0; i < sound.size(); ++i) ASSERT_EQ(sound[i], ramp[i % ramp.size()]) << i;
}

TEST_F(LinuxMediaTest, SoundPlaysOnceWithItsExactSampleCount) {
  const Frames ramp = testing::RampFrames(6000, 9);
  const std::string path = folder_ + "/once.wav";
  testing::WriteWave(path, ramp, 44100, 2);
  auto media = std::make_unique<LinuxMedia>();
  EXPECT_EQ(media->PlaySoundName(&path, kSoundAsync), 1);
  std::this_thread::sleep_for(400ms);
  // With nothing left to read, the feeder sleeps until there is.
  const long sleepsBefore = FeederSleeps();
  std::this_thread::sleep_for(300ms);
  EXPECT_NE(sleepsBefore, -1);
  EXPECT_EQ(FeederSleeps(), sleepsBefore);
  EXPECT_EQ(testing::SoundPart(Played(media)), ramp);
}

TEST_F(LinuxMediaTest, SoundsAtAnyRateAreHeardWithoutClicks) {
  // A device that takes the sound's rate plays it untouched: a mono 48 kHz tone, on both sides.
  const Frames mono = testing::ToneFrames(12000, 441, 48000, 1);
  const std::string path = folder_ + "/mono.wav";
  testing::WriteWave(path, mono, 48000, 1);
  auto media = std::make_unique<LinuxMedia>();
  EXPECT_EQ(media->PlaySoundName(&path, kSoundSync), 1);  // returns when it has played
  const Frames sound = testing::SoundPart(Played(media));
  ASSERT_EQ(sound.size(), 2 * (mono.size() - 1));  // less the silent first sample
  for (size_t i = 0; i < sound.size(); i += 2) {
    ASSERT_EQ(sound[i], mono[i / 2 + 1]) << i;
    ASSERT_EQ(sound[i + 1], sound[i]) << i;
  }

  // A device that takes 44.1 kHz alone: a looping 4 kHz WAV tone and a 440 Hz MP3 tone at
  // 48 kHz, played by the module, come out in tune and as clean as the rate change allows,
  // across every read and every loop.
  BgmFile = folder_ + "/tone.wav";
  testing::WriteWave(BgmFile, testing::ToneFrames(24000, 4000, 48000, 2), 48000, 2);
  media = std::make_unique<LinuxMedia>(std::string(), 44100);
  VelloraBgm wave(*media);
  wave.PlayWaveFile();
  std::this_thread::sleep_for(1200ms);  // two loops and more
  wave.StopWave();
  testing::ToneFit fit = testing::FitTone(testing::SoundPart(Played(media)), 44100, 4000);
  EXPECT_NEAR(fit.frequency, 4000, 0.4);
  EXPECT_NEAR(fit.amplitude, 10000, 50);
  EXPECT_LT(fit.residualDb, -80);
  EXPECT_EQ(fit.clicks, 0);

  BgmFile = folder_ + "/tone.mp3";
  testing::WriteMp3(BgmFile, testing::ToneFrames(48000, 440, 48000, 2), 48000);
  media = std::make_unique<LinuxMedia>(std::string(), 44100);
  VelloraBgm mp3(*media);
  mp3.PlayMp3File();
  ASSERT_TRUE(WaitForMode(*media, "MP3Play", "stopped"));
  EXPECT_EQ(Send(*media, "status MP3Play position").reply, "1000");
  mp3.CloseMp3();
  fit = testing::FitTone(testing::SoundPart(Played(media)), 44100, 440);
  EXPECT_NEAR(fit.frequency, 440, 0.05);
  EXPECT_LT(fit.residualDb, -50);
  EXPECT_EQ(fit.clicks, 0);
}

TEST_F(LinuxMediaTest, EveryFormatIsHeardAtItsTrueLevel) {
  const Frames tone = testing::ToneFrames(4410, 441, 44100, 2);
  const std::vector<std::pair<std::string, int>> formats = {
      {"float.wav", SF_FORMAT_WAV | SF_FORMAT_FLOAT},
      {"double.wav", SF_FORMAT_WAV | SF_FORMAT_DOUBLE},
      {"extensible.wav", SF_FORMAT_WAVEX | SF_FORMAT_FLOAT},
      {"24bit.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_24},
      {"tone.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16},
  };
  auto media = std::make_unique<LinuxMedia>();
  for (const auto& [name, format] : formats) {
    const std::string path = folder_ + "/" + name;
    testing::WriteWave(path, tone, 44100, 2, format);
    EXPECT_EQ(media->PlaySoundName(&path, kSoundSync), 1) << name;
  }
  // Floats beyond full scale are clipped, not wrapped round.
  const std::string loud = folder_ + "/loud.wav";
  testing::WriteFloatWave(loud, {0.5f, -0.5f, 1.5f, -1.5f, 4.0f, -4.0f, 0.25f, -0.25f}, 44100, 2);
  EXPECT_EQ(media->PlaySoundName(&loud, kSoundSync), 1);

  const Frames played = Played(media);
  EXPECT_EQ(testing::CountFrames(played, tone), static_cast<int>(formats.size()));
  EXPECT_GE(testing::FindFrames(played, {16384, -16384, 32767, -32768, 32767, -32768, 8192, -8192}), 0);
}

TEST_F(LinuxMediaTest, SoundPlayerRefusesWhatItCannotPlay) {
  auto media = std::make_unique<LinuxMedia>();
  const std::string missing = folder_ + "/missing.wav";
  EXPECT_EQ(media->PlaySoundName(&missing, kSoundAsync | kSoundLoop), 0);
  const std::string path = folder_ + "/ok.wav";
  testing::WriteWave(path, testing::RampFrames(100, 1), 44100, 2);
  EXPECT_EQ(media->PlaySoundName(&path, kSoundLoop), 0);  // looping needs asynchronous play
  EXPECT_EQ(media->PlaySoundName(nullptr, 0), 1);
}

TEST_F(LinuxMediaTest, WithoutAnOutputDeviceNothingPlays) {
  testing::UseNoAudio();
  const std::string cue = testing::WriteCdImage(folder_, "disc", {testing::RampFrames(kSector, 1)});
  auto media = std::make_unique<LinuxMedia>(cue);
  VelloraBgm bgm(*media);
  EXPECT_EQ(media->WaveOutDeviceCount(), 0);

  BgmFile = folder_ + "/loop.wav";
  testing::WriteWave(BgmFile, testing::RampFrames(100, 1), 44100, 2);
  ApiResult = 77;
  bgm.PlayWaveFile();
  EXPECT_EQ(ApiResult, 77);
  EXPECT_EQ(media->PlaySoundName(&BgmFile, kSoundAsync), 0);

  ASSERT_EQ(Send(*media, "open cdaudio").code, 0);
  EXPECT_EQ(Send(*media, "play cdaudio").code, 326);
  EXPECT_EQ(Send(*media, "status cdaudio mode").reply, "stopped");
  // ALSA finding no device, as on a machine without sound: not a word on the standard error.
  const std::string alsaConfig = folder_ + "/asound.conf";
  std::ofstream(alsaConfig) << "# no devices\n";
  setenv("ALSA_CONFIG_PATH", alsaConfig.c_str(), 1);
  setenv("SDL_AUDIODRIVER", "alsa", 1);
  ::testing::internal::CaptureStderr();
  media = std::make_unique<LinuxMedia>();
  const int32_t devices = media->WaveOutDeviceCount();
  media.reset();
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
  EXPECT_EQ(devices, 0);
  unsetenv("ALSA_CONFIG_PATH");
}

TEST_F(LinuxMediaTest, RepliesAndErrorsFollowTheMediaControlInterface) {
  const std::string cue = testing::WriteCdImage(folder_, "disc", {testing::RampFrames(kSector, 1)});
  auto media = std::make_unique<LinuxMedia>(cue);
  EXPECT_EQ(Send(*media, "status cdaudio mode").code, 263);  // not open yet
  ASSERT_EQ(Send(*media, "OPEN CDAudio").code, 0);
  EXPECT_EQ(Send(*media, "open cdaudio").code, 265);

  // A reply must fit its buffer with its NUL; without a buffer it is dropped.
  EXPECT_EQ(Send(*media, "status cdaudio mode", 7).code, 268);
  EXPECT_EQ(Send(*media, "status cdaudio mode", 8).reply, "stopped");
  const Answer dropped = Send(*media, "status cdaudio mode", 0);
  EXPECT_EQ(dropped.code, 0);
  EXPECT_EQ(dropped.reply, "");

  EXPECT_EQ(Send(*media, "sysinfo cdaudio quantity").code, 261);
  EXPECT_EQ(Send(*media, "").code, 267);
  EXPECT_EQ(Send(*media, "status cdaudio").code, 273);
  EXPECT_EQ(Send(*media, "play cdaudio wait").code, 259);

  std::string text;
  EXPECT_TRUE(media->GetErrorText(261, 256, text));
  EXPECT_EQ(text, "The driver cannot recognize the specified command.");
  EXPECT_TRUE(media->GetErrorText(261, 11, text));
  EXPECT_EQ(text, "The driver");
  EXPECT_FALSE(media->GetErrorText(0, 256, text));
  EXPECT_FALSE(media->GetErrorText(9999, 256, text));

  ASSERT_EQ(Send(*media, "close cdaudio").code, 0);
  EXPECT_EQ(Send(*media, "close cdaudio").code, 263);
}

}  // namespace
}  // namespace vellora::shell
