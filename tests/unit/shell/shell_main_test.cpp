#include "startup/shell_main.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>

#include "common/command_arguments.h"
#include "fake_file_system.h"
#include "fake_forms_platform.h"
#include "recording_music.h"
#include "settings/settings_variables.h"
#include "startup/command_line.h"
#include "startup/help_text.h"

namespace vellora::shell {
namespace {

using testing::FakeFileSystem;
using testing::FakeFormsPlatform;
using testing::ProcessEnded;
using testing::RecordingMusic;
using ::testing::ElementsAre;

constexpr const char* kDataPath = "C:\\Vellora\\Vellora.data";
constexpr const char* kIniPath = "C:\\Vellora\\Vellora.ini";

// One launch of the program: a platform of its own over the given files and music, so that a test
// can start the program more than once.
struct Launch {
  Launch(FakeFileSystem& files, SessionMusic& music, ShellProgram::Modes modes = {}) : shell{application, files, music, modes} {}

  // Runs ShellMain; true when it ended the process.
  bool Start(const std::string& commandLine) {
    platform.commandLine = commandLine;
    try {
      shell.ShellMain();
      return false;
    } catch (const ProcessEnded&) {
      return true;
    }
  }
  // Runs the timers; true when a handler ended the process.
  bool Advance(uint32_t ms) {
    try {
      platform.Advance(ms);
      return false;
    } catch (const ProcessEnded&) {
      return true;
    }
  }
  size_t Count(const std::string& entry) const { return std::count(platform.log.begin(), platform.log.end(), entry); }
  std::vector<std::string> Effects() const {  // the log without the window look-ups
    std::vector<std::string> out;
    for (const auto& e : platform.log)
      if (e.rfind("FindWindow", 0) != 0) out.push_back(e);
    return out;
  }

  FakeFormsPlatform platform;
  FormsApplication application{platform};
  ShellProgram shell;
};

class ShellMainTest : public ::testing::Test {
 protected:
  void SetUp() override {
    BgmMode = 0;
    BgmRepeatTrack = 0;
    BgmFile.clear();
    CursorStartX = CursorStartY = 0;
    files.files[kDataPath] = "renderer";
  }

  // Another launch of the program over the same files and music.
  Launch& Again() { return *launches.emplace_back(std::make_unique<Launch>(files, recorder)); }
  bool Start(const std::string& commandLine) { return first.Start(commandLine); }
  bool Advance(uint32_t ms) { return first.Advance(ms); }
  size_t Count(const std::string& entry) const { return first.Count(entry); }
  std::vector<std::string> Effects() const { return first.Effects(); }
  void WriteSettings(const std::string& mode, const std::string& file) {
    // Code page 932 bytes of the three keys.
    files.files[kIniPath] = "[Section]\r\nBGM\x8b\xe6\x95\xaa=" + mode + "\r\nBGM\xcc\xa7\xb2\xd9=" + file + "\r\n";
    if (!file.empty()) files.files[file] = "music";
  }

  FakeFileSystem files;
  std::vector<std::string> music;
  RecordingMusic recorder{music};
  Launch first{files, recorder};
  FakeFormsPlatform& platform = first.platform;
  std::vector<std::unique_ptr<Launch>> launches;
};

// The mode letters by what they start are in ModeTable; a preview handle by what it shows in
// PreviewModeTest.
TEST(CommandLine, ArgumentsAfterTheProgramJoinedWithBlanks) {
  char program[] = "/opt/vellora/Vellora.scr", mode[] = "/p", handle[] = "1234", empty[] = "";
  char* args[] = {program, mode, handle, nullptr};
  EXPECT_EQ(JoinArguments(3, args), "/p 1234");
  char* one[] = {program, mode, nullptr};
  EXPECT_EQ(JoinArguments(2, one), "/p");
  char* none[] = {program, nullptr};
  EXPECT_EQ(JoinArguments(1, none), "");
  EXPECT_EQ(JoinArguments(0, nullptr), "");
  // An empty argument still takes its place between the blanks.
  char* gap[] = {program, mode, empty, handle, nullptr};
  EXPECT_EQ(JoinArguments(4, gap), "/p  1234");
}

TEST(CommandLine, ModeLetterCountsCharactersAndExtensionsAreTheLastThree) {
  EXPECT_EQ(ModeLetter(u8"ａp"), "P");  // characters, not bytes
  EXPECT_EQ(UpperExtension3("C:\\a.Mp3"), "MP3");
  EXPECT_EQ(UpperExtension3("x.wave"), "AVE");
  EXPECT_EQ(UpperExtension3("ab"), "AB");
}

TEST_F(ShellMainTest, AnyOfTheThreeTitlesEndsTheProcessSilentlyAfterAllThreeLookups) {
  for (const char* title : {"Vellora_Main", "<Vellora>", "Vellora_Tessel"}) {
    Launch& run = Again();
    run.platform.otherWindowTitles = {title};
    EXPECT_TRUE(run.Start("/s")) << title;
    EXPECT_THAT(run.platform.log, ElementsAre("FindWindow Vellora_Main", "FindWindow <Vellora>",
                                              "FindWindow Vellora_Tessel", "EndProcess"));
  }
  // A running preview does not count.
  platform.otherWindowTitles = {"Preview Window"};
  EXPECT_FALSE(Start("/s"));
}

// Each command line as the Linux program takes it: --help and --version are answered before
// anything else (the program prints the text and ends with exit code 0); every other line,
// near misses among them, goes to ShellMain as the screensaver command line. Windows never
// passes those two and hands them to ShellMain, which turns them away like any other letter.
TEST_F(ShellMainTest, ModeTable) {
  struct Row {
    const char* commandLine;
    bool ends;
    bool session;
    bool cursorHidden;
    const char* answer = nullptr;  // the start of the printed text, for --help and --version
  };
  const Row rows[] = {{"/s", false, true, true},       {"-S", false, true, true}, {"/S:1234", false, true, true},
                      {"xs", false, true, true},       {"", false, true, false},  {"S", true, false, false},
                      {"/a", true, false, false},      {"/c:1234", true, false, false},
                      {"/p 1234", true, false, false}, {"--help", true, false, false, "Usage: vellora /s | /c | /p"},
                      {"--version", true, false, false, "Vellora 1.2.3\n"},
                      {"--HELP", true, false, false},  {"-h", true, false, false},
                      {"--help /s", true, false, false}, {"--version ", true, false, false}};
  for (const Row& row : rows) {
    const std::optional<std::string> answer = HelpOrVersionText(row.commandLine, "1.2.3");
    EXPECT_EQ(answer.has_value(), row.answer != nullptr) << row.commandLine;
    if (answer && row.answer) {
      EXPECT_EQ(answer->rfind(row.answer, 0), 0u) << *answer;
    }

    Launch& run = Again();
    EXPECT_EQ(run.Start(row.commandLine), row.ends) << row.commandLine;
    EXPECT_EQ(run.shell.Session() != nullptr, row.session) << row.commandLine;
    EXPECT_EQ(run.Count("ShowCursor false"), row.cursorHidden ? 1u : 0u) << row.commandLine;
  }
  // The usage names every mode and where a user looks next; the version line is the last line.
  const std::string usage = HelpOrVersionText("--help", "1.2.3").value_or("");
  for (const char* part : {"/s ", "/c ", "/p WINDOW_ID", "--version", "~/.config/vellora", "xss-lock", "vellora(1)"})
    EXPECT_NE(usage.find(part), std::string::npos) << part;
  EXPECT_EQ(usage.back(), '\n');
}

TEST_F(ShellMainTest, MissingRendererIsReportedBeforeTheLetterIsLookedAtAgain) {
  files.files.erase(kDataPath);
  for (const char* commandLine : {"/s", "/c", "/a", ""}) {
    platform.log.clear();
    EXPECT_TRUE(Start(commandLine)) << commandLine;
    EXPECT_THAT(Effects(), ElementsAre(std::string("MessageBox Vellora(ScreenSaver): ") +
                                           u8"Vellora.data が Vellora.scr と同じﾌｫﾙﾀﾞに見つかりません！",
                                       "EndProcess"))
        << commandLine;
  }
}

TEST_F(ShellMainTest, SessionLoadsInOrderAndSavesTheScreen) {
  // Screen, snapshot, renderer and music in one log: the snapshot is complete on disk before
  // the renderer starts, and the music starts after the renderer.
  WriteSettings("2", "C:\\m\\loop.wav");
  RecordingMusic inOrder{platform.log};
  ShellProgram ordered{first.application, files, inOrder};
  files.log = &platform.log;
  platform.cursor = {{500, 400}};
  platform.commandLine = "/s";
  ordered.ShellMain();
  EXPECT_THAT(Effects(), ElementsAre("ShowCursor false", "KeepSystemSaverOff", "CaptureScreen",
                                     "Replaced C:\\Vellora\\Vellora.bmp",
                                     "StartProgram C:\\Vellora\\Vellora.data", "PlayWaveFile"));
  EXPECT_EQ(CursorStartX, 500);
  EXPECT_EQ(CursorStartY, 400);

  // The snapshot holds the captured screen and was complete before the renderer started.
  const std::string& bmp = files.files.at("C:\\Vellora\\Vellora.bmp");
  EXPECT_EQ(bmp.size(), 54u + 64u * 3u * 48u);
  EXPECT_EQ(static_cast<uint8_t>(bmp[54 + 2]), 0);    // the bottom-left pixel's red: x = 0
  EXPECT_EQ(static_cast<uint8_t>(bmp[54 + 1]), 235);  // its green: 47 * 5

  // Hidden, titled, findable.
  const auto* window = platform.WindowTitled("Vellora_Main");
  ASSERT_NE(window, nullptr);
  EXPECT_FALSE(window->visible);
  EXPECT_TRUE(platform.FindWindowByTitle("Vellora_Main"));
  EXPECT_TRUE(platform.TimerActive(50));
  EXPECT_FALSE(platform.TimerActive(200));
  EXPECT_FALSE(platform.TimerActive(1000));
}

TEST_F(ShellMainTest, SeveralMonitorsAreCopiedInOneMomentAndEachOtherMonitorGetsItsOwnSnapshot) {
  // The primary, one monitor left of and above it (negative origin), one right of it.
  platform.monitors = {{0, 0, 64, 48}, {-32, -10, 0, 14}, {64, 0, 80, 16}};
  files.files["C:\\Vellora\\Vellora_4.bmp"] = "left from a desktop with four monitors";
  files.files["C:\\Vellora\\Vellora_6.bmp"] = "not next in line: never looked at";
  files.log = &platform.log;
  ASSERT_FALSE(Start("/s"));
  EXPECT_THAT(Effects(), ElementsAre("ShowCursor false", "KeepSystemSaverOff", "CaptureDesktopArea -32,-10-80,48",
                                     "Replaced C:\\Vellora\\Vellora.bmp", "Replaced C:\\Vellora\\Vellora_2.bmp",
                                     "Replaced C:\\Vellora\\Vellora_3.bmp", "StartProgram C:\\Vellora\\Vellora.data"));
  EXPECT_EQ(files.files.count("C:\\Vellora\\Vellora_4.bmp"), 0u);
  EXPECT_EQ(files.files.count("C:\\Vellora\\Vellora_6.bmp"), 1u);

  // Each file holds its own monitor's part; the bottom-left pixel is the first in the file.
  const auto bottomLeft = [this](const std::string& name, size_t size) {
    const std::string& bmp = files.files.at("C:\\Vellora\\" + name);
    EXPECT_EQ(bmp.size(), size) << name;
    return std::vector<int>{static_cast<uint8_t>(bmp[54 + 2]), static_cast<uint8_t>(bmp[54 + 1]),
                            static_cast<uint8_t>(bmp[54])};
  };
  EXPECT_THAT(bottomLeft("Vellora.bmp", 54u + 64u * 3u * 48u), ElementsAre(0, 235, 77));       // (0, 47)
  EXPECT_THAT(bottomLeft("Vellora_2.bmp", 54u + 32u * 3u * 24u), ElementsAre(160, 65, 77));    // (-32, 13)
  EXPECT_THAT(bottomLeft("Vellora_3.bmp", 54u + 16u * 3u * 16u), ElementsAre(192, 75, 77));    // (64, 15)

  // A failed copy leaves every monitor's picture black at its size, as for one monitor.
  Launch& failed = Again();
  failed.platform.monitors = platform.monitors;
  failed.platform.captureFails = true;
  ASSERT_FALSE(failed.Start("/s"));
  const std::string& blank = files.files.at("C:\\Vellora\\Vellora_2.bmp");
  EXPECT_EQ(blank.size(), 54u + 32u * 3u * 24u);
  EXPECT_EQ(blank.find_first_not_of('\0', 54), std::string::npos);
}

TEST_F(ShellMainTest, AReadOnlyProgramFolderGivesTheUsersFolderForTheSnapshotAndItsOwnSettings) {
  const std::string userFolder = "C:\\Users\\ann\\AppData\\Local\\Vellora";
  files.readOnlyFolders.insert("C:\\Vellora");
  files.environment["LOCALAPPDATA"] = "C:\\Users\\ann\\AppData\\Local";
  WriteSettings(" 2", "C:\\Music\\tone.wav");  // the installed default: a WAV file
  ASSERT_FALSE(Start("/s"));
  EXPECT_THAT(Effects(), ElementsAre("ShowCursor false", "KeepSystemSaverOff", "CaptureScreen",
                                     "StartProgram C:\\Vellora\\Vellora.data"));
  EXPECT_THAT(music, ElementsAre("PlayWaveFile"));
  EXPECT_EQ(files.madeFolders.count(userFolder), 1u);
  EXPECT_EQ(files.files.count(userFolder + "\\Vellora.bmp"), 1u);
  EXPECT_EQ(files.files.count("C:\\Vellora\\Vellora.bmp"), 0u);

  // The settings dialog saves into the user's folder.
  std::vector<std::string> dialogs;
  Launch withDialog{files, recorder, {{}, [&](const std::string& path) { dialogs.push_back(path); }}};
  EXPECT_TRUE(withDialog.Start("/c"));
  EXPECT_THAT(dialogs, ElementsAre(userFolder + "\\Vellora.ini"));
}

TEST_F(ShellMainTest, FailedCaptureSavesABlankPictureAndFailedSaveKeepsTheOldSnapshot) {
  platform.captureFails = true;
  ASSERT_FALSE(Start(""));
  const std::string& blank = files.files.at("C:\\Vellora\\Vellora.bmp");
  EXPECT_EQ(blank.size(), 54u + 64u * 3u * 48u);
  EXPECT_EQ(blank.find_first_not_of('\0', 54), std::string::npos);  // the cleared, black screen

  files.files["C:\\Vellora\\Vellora.bmp"] = "older";
  files.failReplaces = true;
  Launch& again = Again();
  ASSERT_FALSE(again.Start("/s"));
  EXPECT_EQ(files.files.at("C:\\Vellora\\Vellora.bmp"), "older");
  EXPECT_EQ(again.Count("StartProgram C:\\Vellora\\Vellora.data"), 1u);
}

TEST_F(ShellMainTest, MusicByModeAndExtension) {
  struct Case {
    std::string mode, file;
    std::vector<std::string> music;
    uint32_t timer;  // the music timer left running, 0 for none
  };
  const Case cases[] = {
      {"2", "C:\\m\\song.Mp3", {"PlayMp3File"}, 1000}, {"2", "C:\\m\\loop.wav", {"PlayWaveFile"}, 0},
      {"2", "C:\\m\\tune.mid", {}, 0},                 {"2", "C:\\m\\tune.wave", {}, 0},
      {"1", "", {"OpenCdAudio"}, 200},                 {"0", "C:\\m\\loop.wav", {}, 0},
  };
  for (const Case& c : cases) {
    music.clear();
    WriteSettings(c.mode, c.file);
    Launch& run = Again();
    ASSERT_FALSE(run.Start("/s"));
    EXPECT_EQ(music, c.music) << c.mode << " " << c.file;
    for (uint32_t interval : {200u, 1000u}) EXPECT_EQ(run.platform.TimerActive(interval), interval == c.timer) << c.file;
  }
}

TEST_F(ShellMainTest, MouseTestNeedsMoreThanThirtyPixelsOnBothAxesFromTheLoadPoint) {
  struct Case {
    PixelPoint to;
    bool ends;
  };
  for (const Case& c : {Case{{140, 100}, false}, Case{{130, 130}, false}, Case{{131, 130}, false},
                        Case{{130, 131}, false}, Case{{131, 131}, true}, Case{{69, 131}, true}}) {
    Launch& run = Again();
    run.platform.cursor = {{100, 100}, c.to};
    ASSERT_FALSE(run.Start("/s"));
    EXPECT_EQ(run.Advance(500), c.ends) << c.to.x << "," << c.to.y;
  }
  // A slow drift of 5 pixels a tick adds up from the load point.
  platform.cursor = {{100, 100}};
  for (int step = 1; step <= 10; ++step) platform.cursor.push_back({100 + 5 * step, 100 + 5 * step});
  ASSERT_FALSE(Start("/s"));
  EXPECT_FALSE(Advance(50 * 6));  // 30 pixels: not yet
  EXPECT_TRUE(Advance(50));       // 35 pixels
}

// XWayland tells the screen's centre until the compositor tells it where the pointer is.
TEST_F(ShellMainTest, MouseTestStartsWhereThePointerIsFirstKnown) {
  platform.cursorKnown = {false, false, true};
  platform.cursor = {{400, 300}, {100, 100}, {100, 100}, {131, 131}};
  ASSERT_FALSE(Start("/s"));
  EXPECT_FALSE(Advance(50 * 3));  // the jump to where it is known is no move
  EXPECT_TRUE(Advance(50));       // 31 pixels from there
}

TEST_F(ShellMainTest, EndingStopsMusicShowsCursorOnceInModeSAndEndsTheProcess) {
  WriteSettings("2", "C:\\m\\song.mp3");
  platform.cursor = {{100, 100}, {100, 100}, {200, 200}};
  ASSERT_FALSE(Start("/s"));
  EXPECT_TRUE(Advance(1000));
  EXPECT_THAT(music, ElementsAre("PlayMp3File", "CloseMp3"));
  EXPECT_EQ(Count("ShowCursor false"), 1u);
  EXPECT_EQ(Count("ShowCursor true"), 1u);
  EXPECT_EQ(platform.log.back(), "EndProcess");

  // The end of the operating system's session unloads the form the same way.
  music.clear();
  Launch& ended = Again();
  ASSERT_FALSE(ended.Start("/s"));
  EXPECT_THROW(ended.platform.EndOsSession(), ProcessEnded);
  EXPECT_THAT(music, ElementsAre("PlayMp3File", "CloseMp3"));
  EXPECT_THAT(std::vector<std::string>(ended.platform.log.end() - 3, ended.platform.log.end()),
              ElementsAre("OS session ends", "ShowCursor true", "EndProcess"));

  // An end asked for before the loop launches, before the form loads or during its capture, ends
  // the session there: the steps that apply run, and nothing is started after the request.
  struct Early {
    bool beforeLoad;
    std::string after;
    std::vector<std::string> effects;
  };
  for (const Early& c : {Early{true, "", {"ShowCursor false", "ShowCursor true", "EndProcess"}},
                         Early{false, "CaptureScreen",
                               {"ShowCursor false", "KeepSystemSaverOff", "CaptureScreen", "ShowCursor true",
                                "EndProcess"}}}) {
    music.clear();
    Launch& early = Again();
    early.platform.endRequested = c.beforeLoad;
    early.platform.endRequestedAfter = c.after;
    EXPECT_TRUE(early.Start("/s")) << c.after;
    EXPECT_EQ(early.Effects(), c.effects) << c.after;
    EXPECT_THAT(music, ElementsAre("CloseMp3")) << c.after;  // stopping what never played is harmless
  }
}

TEST_F(ShellMainTest, EmptyCommandLineNeverTouchesTheCursor) {
  WriteSettings("2", "C:\\m\\loop.WAV");
  platform.cursor = {{100, 100}, {300, 300}};
  ASSERT_FALSE(Start(""));
  EXPECT_TRUE(Advance(50));
  EXPECT_THAT(music, ElementsAre("PlayWaveFile", "StopWave"));
  EXPECT_EQ(Count("ShowCursor false") + Count("ShowCursor true"), 0u);
}

TEST_F(ShellMainTest, CdPollSwitchesOffAfterAFailedPollAndThenTheEndDoesNotCloseTheDrive) {
  WriteSettings("1", "");
  recorder.cdAnswers = false;  // no disc
  platform.cursor = {{100, 100}};
  ASSERT_FALSE(Start("/s"));
  EXPECT_FALSE(Advance(1000));
  EXPECT_EQ(std::count(music.begin(), music.end(), "PollCdAudio"), 1);
  platform.cursor = {{200, 200}};
  EXPECT_TRUE(Advance(50));
  EXPECT_THAT(music, ElementsAre("OpenCdAudio", "PollCdAudio"));

  // With a disc the drive is polled every 200 ms and closed at the end.
  music.clear();
  recorder.cdAnswers = true;
  Launch& withDisc = Again();
  ASSERT_FALSE(withDisc.Start("/s"));
  EXPECT_FALSE(withDisc.Advance(1000));
  withDisc.platform.cursor = {{200, 200}};
  EXPECT_TRUE(withDisc.Advance(50));
  EXPECT_EQ(std::count(music.begin(), music.end(), "PollCdAudio"), 5);
  EXPECT_EQ(music.back(), "CloseCdAudio");
}

}  // namespace
}  // namespace vellora::shell
