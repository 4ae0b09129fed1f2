#include "settings/settings_store.h"

#include <gtest/gtest.h>

#include <string>

#include "common/cp932_text.h"
#include "common/number_conversions.h"
#include "fake_file_system.h"
#include "settings/settings_variables.h"

namespace vellora::shell {
namespace {

using testing::FakeFileSystem;

const std::string kFolder = "C:\\Vellora";
const std::string kIniPath = "C:\\Vellora\\Vellora.ini";
const std::string kMusic = u8"C:\\音楽\\ソフト.mp3";

// The keys in code page 932.
const std::string kModeKeyBytes = "BGM\x8B\xE6\x95\xAA";
const std::string kTrackKeyBytes = "BGM\xD8\xCB\xDF\xB0\xC4";
const std::string kFileKeyBytes = "BGM\xCC\xA7\xB2\xD9";

// The file the settings dialog saves for music CD with no fixed track and no file.
const std::string kSampleFile = "[Section]\r\n" + kModeKeyBytes + "= 1\r\n" + kTrackKeyBytes + "= 0\r\n" +
                                kFileKeyBytes + "=\r\n";

class SettingsStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    BgmMode = 0;
    BgmRepeatTrack = 0;
    BgmFile.clear();
    ApiResult = 0;
  }

  // A settings file with the three keys, their values written as they stand.
  void WriteSettingsFile(const std::string& mode, const std::string& track, const std::string& musicFile) {
    files.files[kIniPath] = "[Section]\r\n" + kModeKeyBytes + "=" + mode + "\r\n" + kTrackKeyBytes + "=" + track +
                            "\r\n" + kFileKeyBytes + "=" + Utf8ToCp932(musicFile) + "\r\n";
  }

  FakeFileSystem files;
};

TEST_F(SettingsStoreTest, SettingsFilePathJoinsWithABackslash) {
  EXPECT_EQ(SettingsFilePath("C:\\Vellora"), "C:\\Vellora\\Vellora.ini");
  EXPECT_EQ(SettingsFilePath("C:\\"), "C:\\\\Vellora.ini");
}

TEST_F(SettingsStoreTest, SavingCdWithoutTrackOrFileGivesTheSampleFileAndLoadsBack) {
  const std::string path = SettingsFilePath(kFolder);
  WriteIniString(files, kSettingsSection, kBgmModeKey, SignedDecimalText(1), path);
  EXPECT_EQ(ApiResult, 1);
  WriteIniString(files, kSettingsSection, kBgmRepeatTrackKey, SignedDecimalText(0), path);
  WriteIniString(files, kSettingsSection, kBgmFileKey, "", path);
  EXPECT_EQ(files.files.at(kIniPath), kSampleFile);

  BgmMode = 7, BgmRepeatTrack = 7, BgmFile = "stale";
  LoadSettings(files, kFolder);
  EXPECT_EQ(BgmMode, 1);
  EXPECT_EQ(BgmRepeatTrack, 0);
  EXPECT_EQ(BgmFile, "");
}

TEST_F(SettingsStoreTest, NoSettingsFileGivesDefaultsAndCreatesNothing) {
  LoadSettings(files, kFolder);
  EXPECT_EQ(BgmMode, 0);
  EXPECT_EQ(BgmRepeatTrack, 0);
  EXPECT_EQ(BgmFile, "");
  EXPECT_TRUE(files.files.empty());
}

TEST_F(SettingsStoreTest, NumbersAreFlooredAndBadOnesKeepTheVariable) {
  const struct {
    const char* text;
    int16_t loaded;
  } cases[] = {
      {" 3", 3},         {"7.6", 7},        {"2.9", 2},     {"-0.5", -1}, {" 3 ", 3},      {"99", 99},
      {"-1", -1},        {"1e2", 100},      {"32767.9", 32767}, {"", 0},  {"abc", 5},      {"40000", 5},
      {"-32768.5", 5},   {"1,5", 5},        {"-32768", -32768},
  };
  for (const auto& c : cases) {
    WriteSettingsFile(c.text, c.text, "");
    BgmMode = 5;
    BgmRepeatTrack = 5;
    LoadSettings(files, kFolder);
    // The file is empty, so a mode of 2 (file music) falls back to none.
    EXPECT_EQ(BgmMode, c.loaded == kBgmModeFile ? kBgmModeNone : c.loaded) << '"' << c.text << '"';
    EXPECT_EQ(BgmRepeatTrack, c.loaded) << '"' << c.text << '"';
  }
}

TEST_F(SettingsStoreTest, AnUnusableMusicFileTurnsFileMusicOff) {
  const struct {
    const char* mode;
    bool fileExists;
    const char* path;
    int16_t loadedMode;
  } cases[] = {
      {"2", true, "", 0},         // file mode without a file
      {"2", false, "music", 0},   // the file was deleted
      {"1", false, "music", 1},   // a CD setting is not disturbed
      {"0", false, "music", 0},
      {"2", true, "music", 2},
  };
  for (const auto& c : cases) {
    files.files.clear();
    const std::string path = std::string(c.path) == "music" ? kMusic : "";
    if (c.fileExists && !path.empty()) files.files[path] = "ID3";
    WriteSettingsFile(c.mode, "4", path);
    LoadSettings(files, kFolder);
    EXPECT_EQ(BgmMode, c.loadedMode) << c.mode << ' ' << c.path;
    EXPECT_EQ(BgmFile, c.fileExists ? path : "") << c.mode << ' ' << c.path;
    EXPECT_EQ(BgmRepeatTrack, 4);
  }
}

// The byte-level cut at 255 and the names' letter case are the profile file's (ReadProfileValue,
// IniReader); here the names end at a NUL and the cut falls between UTF-8 characters.
TEST_F(SettingsStoreTest, ReadIniStringEndsNamesAtANulAndCutsBetweenCharacters) {
  files.files[kIniPath] = "[Section]\r\n" + kModeKeyBytes + "=7\r\n";
  EXPECT_EQ(ReadIniString(files, "Section", std::string(kBgmModeKey) + '\0' + "junk", kIniPath), "7");

  // A path of 150 あ is 300 bytes; the cut keeps 127 whole characters (254 bytes).
  std::string longPath;
  for (int i = 0; i < 150; ++i) longPath += u8"あ";
  files.files[kIniPath] = "";
  WriteIniString(files, kSettingsSection, kBgmFileKey, longPath, kIniPath);
  EXPECT_EQ(ApiResult, 1);
  EXPECT_EQ(ReadIniString(files, kSettingsSection, kBgmFileKey, kIniPath), longPath.substr(0, 127 * 3));
}

TEST_F(SettingsStoreTest, WriteIniStringCutsNamesTo128Characters) {
  const std::string longKey = std::string(127, 'k') + u8"区分";
  WriteIniString(files, "Section", longKey, "v", kIniPath);
  const std::string cutKey = std::string(127, 'k') + u8"区";
  EXPECT_EQ(ReadIniString(files, "Section", cutKey, kIniPath), "v");
  EXPECT_EQ(ReadIniString(files, "Section", longKey, kIniPath), "");
}

TEST_F(SettingsStoreTest, FileExistsTestsThePathLessOneTrailingBackslash) {
  files.files["C:\\a.mp3"] = "";
  files.folders.insert("C:\\music");
  EXPECT_TRUE(FileExists(files, "C:\\a.mp3"));
  EXPECT_TRUE(FileExists(files, "C:\\a.mp3\\"));
  EXPECT_FALSE(FileExists(files, "C:\\a.mp3\\\\"));
  EXPECT_FALSE(FileExists(files, "C:\\music"));
  EXPECT_FALSE(FileExists(files, "C:\\music\\"));
  EXPECT_FALSE(FileExists(files, ""));
  EXPECT_FALSE(FileExists(files, "\\"));
  EXPECT_FALSE(FileExists(files, std::string("C:\\a.mp3\0x", 10)));
}

}  // namespace
}  // namespace vellora::shell
