// The settings store on this system's real file system, in a folder of its own per test.
#include "platform/posix/posix_file_system.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "platform/posix/posix_path.h"
#include "runtime/bitmap_file.h"
#include "settings/settings_store.h"
#include "settings/settings_variables.h"

namespace vellora::shell {
namespace {

namespace fs = std::filesystem;

class PosixFileSystemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    folder_ = fs::temp_directory_path() /
              ("vellora_shell_" + std::string(test->name()) + "_" + std::to_string(std::random_device{}()));
    fs::create_directories(folder_);
    ApiResult = 0;
  }
  void TearDown() override {
    std::error_code ignored;
    fs::permissions(folder_, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(folder_, ignored);
  }

  std::string Folder() const { return folder_.string(); }
  fs::path IniFile() const { return folder_ / "Vellora.ini"; }

  static std::string Contents(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
  }
  static void Put(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
  }

  PosixFileSystem files_;
  fs::path folder_;
};

TEST_F(PosixFileSystemTest, SavesTheSampleFileByteForByte) {
  const std::string path = SettingsFilePath(Folder());  // joined with "\"
  WriteIniString(files_, kSettingsSection, kBgmModeKey, " 1", path);
  WriteIniString(files_, kSettingsSection, kBgmRepeatTrackKey, " 0", path);
  WriteIniString(files_, kSettingsSection, kBgmFileKey, "", path);
  EXPECT_EQ(ApiResult, 1);
  EXPECT_EQ(Contents(IniFile()),
            "[Section]\r\nBGM\x8B\xE6\x95\xAA= 1\r\nBGM\xD8\xCB\xDF\xB0\xC4= 0\r\nBGM\xCC\xA7\xB2\xD9=\r\n");
  EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 1);
}

TEST_F(PosixFileSystemTest, ReplacesTheFileByRenameKeepingItsPermissions) {
  Put(IniFile(), "[Section]\nk=old\n");
  fs::permissions(IniFile(), fs::perms::owner_read | fs::perms::owner_write);
  std::ifstream reader(IniFile(), std::ios::binary);  // opened on the old file before the write

  WriteIniString(files_, "Section", "k", "new", SettingsFilePath(Folder()));
  EXPECT_EQ(ApiResult, 1);
  EXPECT_EQ(Contents(IniFile()), "[Section]\nk=new\n");
  std::ostringstream seenByReader;
  seenByReader << reader.rdbuf();
  EXPECT_EQ(seenByReader.str(), "[Section]\nk=old\n");  // a new file took the name
  EXPECT_EQ(fs::status(IniFile()).permissions(), fs::perms::owner_read | fs::perms::owner_write);
}

TEST_F(PosixFileSystemTest, AFailedWriteLeavesTheOldFileAsItWas) {
  Put(IniFile(), "[Section]\r\nk=old\r\n");
  fs::create_directory(folder_ / "Vellora.ini.tmp");  // the temporary file cannot be created
  WriteIniString(files_, "Section", "k", "new", SettingsFilePath(Folder()));
  EXPECT_EQ(ApiResult, 0);
  EXPECT_EQ(Contents(IniFile()), "[Section]\r\nk=old\r\n");

  WriteIniString(files_, "Section", "k", "new", SettingsFilePath(Folder() + "/missing"));
  EXPECT_EQ(ApiResult, 0);
  EXPECT_FALSE(fs::exists(folder_ / "missing"));
}

TEST_F(PosixFileSystemTest, AReadOnlyFileIsLeftAsItIsAndALinkIsWrittenThrough) {
  // Read-only: left byte for byte, even for the superuser, and the write reported as failed.
  Put(IniFile(), "[Section]\r\nk=old\r\n");
  fs::permissions(IniFile(), fs::perms::owner_read | fs::perms::group_read);
  WriteIniString(files_, "Section", "k", "new", SettingsFilePath(Folder()));
  EXPECT_EQ(ApiResult, 0);
  EXPECT_EQ(Contents(IniFile()), "[Section]\r\nk=old\r\n");
  EXPECT_EQ(fs::status(IniFile()).permissions(), fs::perms::owner_read | fs::perms::group_read);
  EXPECT_FALSE(fs::exists(folder_ / "Vellora.ini.tmp"));

  // A link, through a second one, to a file in another folder: that file is replaced beside
  // itself and the links stay links.
  fs::remove(IniFile());
  fs::create_directory(folder_ / "kept");
  Put(folder_ / "kept" / "settings.ini", "[Section]\r\nk=old\r\n");
  fs::create_symlink("kept/settings.ini", folder_ / "middle.ini");
  fs::create_symlink(folder_ / "middle.ini", IniFile());
  std::ifstream reader(folder_ / "kept" / "settings.ini", std::ios::binary);
  WriteIniString(files_, "Section", "k", "new", SettingsFilePath(Folder()));
  EXPECT_EQ(ApiResult, 1);
  EXPECT_TRUE(fs::is_symlink(IniFile()));
  EXPECT_TRUE(fs::is_symlink(folder_ / "middle.ini"));
  EXPECT_EQ(Contents(folder_ / "kept" / "settings.ini"), "[Section]\r\nk=new\r\n");
  std::ostringstream seenByReader;
  seenByReader << reader.rdbuf();
  EXPECT_EQ(seenByReader.str(), "[Section]\r\nk=old\r\n");  // replaced by a rename, not rewritten
  EXPECT_EQ(std::distance(fs::directory_iterator(folder_ / "kept"), fs::directory_iterator()), 1);
}

TEST_F(PosixFileSystemTest, AReadOnlyFolderRefusesTheWrite) {
  if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
  Put(IniFile(), "[Section]\r\nk=old\r\n");
  fs::permissions(folder_, fs::perms::owner_read | fs::perms::owner_exec);
  WriteIniString(files_, "Section", "k", "new", SettingsFilePath(Folder()));
  EXPECT_EQ(ApiResult, 0);
  EXPECT_EQ(Contents(IniFile()), "[Section]\r\nk=old\r\n");
}

TEST_F(PosixFileSystemTest, ReadingAndTestingFiles) {
  Put(folder_ / "a.mp3", "ID3");
  fs::create_directory(folder_ / "music");
  EXPECT_EQ(ReadIniString(files_, "Section", "k", SettingsFilePath(Folder())), "");
  EXPECT_FALSE(fs::exists(IniFile()));  // reading creates nothing

  EXPECT_EQ(files_.ReadFile(Folder() + "\\a.mp3").status, FileReadStatus::Ok);
  EXPECT_EQ(files_.ReadFile(Folder() + "\\a.mp3").bytes, "ID3");
  EXPECT_EQ(files_.ReadFile(Folder() + "\\none").status, FileReadStatus::Missing);
  EXPECT_EQ(files_.ReadFile(Folder() + "\\none\\x").status, FileReadStatus::Missing);
  EXPECT_EQ(files_.ReadFile(Folder() + "\\music").status, FileReadStatus::Failed);

  EXPECT_TRUE(FileExists(files_, Folder() + "\\a.mp3"));
  EXPECT_TRUE(FileExists(files_, Folder() + "\\a.mp3\\"));
  EXPECT_FALSE(FileExists(files_, Folder() + "\\music"));
  EXPECT_FALSE(FileExists(files_, Folder() + "\\music\\"));
  EXPECT_FALSE(FileExists(files_, Folder() + "\\none"));
  EXPECT_FALSE(FileExists(files_, ""));
  ASSERT_EQ(::mkfifo((folder_ / "fifo").c_str(), 0600), 0);
  EXPECT_TRUE(FileExists(files_, Folder() + "\\fifo"));  // opened without waiting for a writer

  EXPECT_EQ(ToPosixPath("C:\\a\\b"), "C:/a/b");
}

// The probes behind the data-folder rule, on this system.
TEST_F(PosixFileSystemTest, DataFolderProbes) {
  DataFolderProbes& probes = files_.FolderProbes();
  EXPECT_TRUE(probes.CanCreateFileIn(Folder()));
  EXPECT_TRUE(fs::is_empty(folder_));  // the probe left nothing behind
  EXPECT_FALSE(probes.CanCreateFileIn(Folder() + "/missing"));

  // Missing folders are made for their owner alone; an existing one keeps its permissions.
  const mode_t oldMask = ::umask(022);
  fs::permissions(folder_, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec);
  EXPECT_TRUE(probes.CreateFolder(Folder() + "/cache/vellora"));
  ::umask(oldMask);
  EXPECT_EQ(fs::status(folder_ / "cache").permissions(), fs::perms::owner_all);
  EXPECT_EQ(fs::status(folder_ / "cache" / "vellora").permissions(), fs::perms::owner_all);
  EXPECT_EQ(fs::status(folder_).permissions(), fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec);
  EXPECT_TRUE(probes.CreateFolder(Folder() + "/cache/vellora"));
  Put(folder_ / "file", "x");
  EXPECT_FALSE(probes.CreateFolder(Folder() + "/file/vellora"));

  EXPECT_TRUE(probes.IsFile(Folder() + "/file"));
  EXPECT_FALSE(probes.IsFile(Folder() + "/cache"));
  EXPECT_FALSE(probes.IsFile(Folder() + "/none"));

  if (::geteuid() != 0) {  // permissions do not bind the superuser
    fs::permissions(folder_, fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_FALSE(probes.CanCreateFileIn(Folder()));
  }
}

}  // namespace
}  // namespace vellora::shell

namespace vellora::shell {
namespace {

// The desktop snapshot is private to its owner, even when an older one was not.
TEST(PosixSnapshotFile, ASavedSnapshotIsReadableByItsOwnerOnly) {
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("vellora_snapshot_" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  const std::filesystem::path snapshot = folder / "Vellora.bmp";
  std::ofstream(snapshot) << "older";
  ::chmod(snapshot.c_str(), 0644);

  ASSERT_TRUE(SaveBitmap24(PlatformFileSystem(), Canvas(3, 2, {1, 2, 3}), folder.string() + "\\Vellora.bmp", true));
  struct stat info {};
  ASSERT_EQ(::stat(snapshot.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
  EXPECT_EQ(info.st_size, 54 + 2 * 12);
  EXPECT_FALSE(std::filesystem::exists(folder / "Vellora.bmp.tmp"));
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace vellora::shell
