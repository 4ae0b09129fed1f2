// The settings store on this system's real file system, in a folder of its own per test.
#include "platform/posix/posix_file_system.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <iterator>

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

  static std::string Contents(std::istream& in) {
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
  }
  static std::string Contents(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Contents(in);
  }
  static void Put(const fs::path& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }
  static long Entries(const fs::path& folder) {
    return std::distance(fs::directory_iterator(folder), fs::directory_iterator());
  }
  // Sets k=new in the settings file of the folder.
  void WriteNew(const std::string& folder) { WriteIniString(files_, "Section", "k", "new", SettingsFilePath(folder)); }

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
  EXPECT_EQ(Entries(folder_), 1);
}

TEST_F(PosixFileSystemTest, ReplacesTheFileByRenameKeepingItsPermissions) {
  Put(IniFile(), "[Section]\nk=old\n");
  fs::permissions(IniFile(), fs::perms::owner_read | fs::perms::owner_write);
  std::ifstream reader(IniFile(), std::ios::binary);  // opened on the old file before the write

  WriteNew(Folder());
  EXPECT_EQ(ApiResult, 1);
  EXPECT_EQ(Contents(IniFile()), "[Section]\nk=new\n");
  EXPECT_EQ(Contents(reader), "[Section]\nk=old\n");  // a new file took the name
  EXPECT_EQ(fs::status(IniFile()).permissions(), fs::perms::owner_read | fs::perms::owner_write);
}

TEST_F(PosixFileSystemTest, AFailedWriteLeavesTheOldFileAsItWas) {
  Put(IniFile(), "[Section]\r\nk=old\r\n");
  // A file size limit makes the new file's write fail partway, for the superuser too.
  struct rlimit old {};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
  const auto oldSignal = ::signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = old;
  small.rlim_cur = 8;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  WriteNew(Folder());
  ::setrlimit(RLIMIT_FSIZE, &old);
  ::signal(SIGXFSZ, oldSignal);
  EXPECT_EQ(ApiResult, 0);
  EXPECT_EQ(Contents(IniFile()), "[Section]\r\nk=old\r\n");
  EXPECT_EQ(Entries(folder_), 1);  // nothing left

  WriteNew(Folder() + "/missing");
  EXPECT_EQ(ApiResult, 0);
  EXPECT_FALSE(fs::exists(folder_ / "missing"));
}

TEST_F(PosixFileSystemTest, AReadOnlyFileIsLeftAsItIsAndALinkIsWrittenThrough) {
  // Read-only: left byte for byte, even for the superuser, and the write reported as failed.
  Put(IniFile(), "[Section]\r\nk=old\r\n");
  fs::permissions(IniFile(), fs::perms::owner_read | fs::perms::group_read);
  WriteNew(Folder());
  EXPECT_EQ(ApiResult, 0);
  EXPECT_EQ(Contents(IniFile()), "[Section]\r\nk=old\r\n");
  EXPECT_EQ(fs::status(IniFile()).permissions(), fs::perms::owner_read | fs::perms::group_read);
  EXPECT_EQ(Entries(folder_), 1);

  // A link, through a second one, to a file in another folder: that file is replaced beside
  // itself and the links stay links. Links planted under the names a temporary file might take
  // lead nowhere: the other file they point at is never written.
  fs::remove(IniFile());
  fs::create_directory(folder_ / "kept");
  Put(folder_ / "kept" / "settings.ini", "[Section]\r\nk=old\r\n");
  Put(folder_ / "notes.txt", "notes");
  for (const char* planted : {"Vellora.ini.tmp", "kept/settings.ini.tmp"})
    fs::create_symlink(folder_ / "notes.txt", folder_ / planted);
  fs::create_symlink("kept/settings.ini", folder_ / "middle.ini");
  fs::create_symlink(folder_ / "middle.ini", IniFile());
  std::ifstream reader(folder_ / "kept" / "settings.ini", std::ios::binary);
  WriteNew(Folder());
  EXPECT_EQ(ApiResult, 1);
  EXPECT_TRUE(fs::is_symlink(IniFile()));
  EXPECT_TRUE(fs::is_symlink(folder_ / "middle.ini"));
  EXPECT_EQ(Contents(folder_ / "kept" / "settings.ini"), "[Section]\r\nk=new\r\n");
  EXPECT_EQ(Contents(reader), "[Section]\r\nk=old\r\n");  // replaced by a rename, not rewritten
  EXPECT_EQ(Entries(folder_ / "kept"), 2);
  EXPECT_EQ(Contents(folder_ / "notes.txt"), "notes");
}

TEST_F(PosixFileSystemTest, AReadOnlyFolderRefusesTheWrite) {
  if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
  Put(IniFile(), "[Section]\r\nk=old\r\n");
  fs::permissions(folder_, fs::perms::owner_read | fs::perms::owner_exec);
  WriteNew(Folder());
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
  using Use = DataFolderProbes::FolderUse;
  DataFolderProbes& probes = files_.FolderProbes();
  fs::permissions(folder_, fs::perms::owner_all);
  EXPECT_EQ(probes.CheckFolder(Folder()), Use::Own);
  EXPECT_EQ(probes.CheckFolder(Folder() + "/"), Use::Own);
  EXPECT_TRUE(fs::is_empty(folder_));  // the probe left nothing behind
  EXPECT_EQ(probes.CheckFolder(Folder() + "/missing/vellora"), Use::Absent);

  // Missing folders are made for their owner alone; an existing one keeps its permissions.
  const mode_t oldMask = ::umask(022);
  fs::permissions(folder_, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec);
  EXPECT_TRUE(probes.CreateFolder(Folder() + "/cache/vellora"));
  ::umask(oldMask);
  EXPECT_EQ(fs::status(folder_ / "cache").permissions(), fs::perms::owner_all);
  EXPECT_EQ(fs::status(folder_ / "cache" / "vellora").permissions(), fs::perms::owner_all);
  EXPECT_EQ(fs::status(folder_).permissions(), fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec);
  EXPECT_TRUE(probes.CreateFolder(Folder() + "/cache/vellora"));

  // What someone else could have planted, and what is no folder, is not the user's own folder,
  // and CreateFolder does not take it either.
  Put(folder_ / "file", "x");
  fs::create_directory(folder_ / "open");
  fs::permissions(folder_ / "open", fs::perms::all);
  fs::create_directory(folder_ / "group");
  fs::permissions(folder_ / "group", fs::perms::owner_all | fs::perms::group_all);
  fs::create_directory_symlink(folder_ / "cache", folder_ / "link");
  for (const char* name : {"file", "file/vellora", "open", "group", "link"}) {
    EXPECT_EQ(probes.CheckFolder(Folder() + "/" + name), Use::Unusable) << name;
    EXPECT_FALSE(probes.CreateFolder(Folder() + "/" + name)) << name;
  }
  EXPECT_EQ(probes.CheckFolder(Folder() + "/open/vellora"), Use::Absent);  // made there, it is private
  EXPECT_EQ(probes.CheckFolder("relative/vellora"), Use::Unusable);
  if (::geteuid() == 0) {
    // Another user's folder, and one the user cannot write to (nobody's view of root's).
    fs::create_directory(folder_ / "theirs");
    ASSERT_EQ(::chown((folder_ / "theirs").c_str(), 65534, 65534), 0);
    EXPECT_EQ(probes.CheckFolder(Folder() + "/theirs"), Use::Unusable);
    EXPECT_FALSE(probes.CreateFolder(Folder() + "/theirs"));
  } else {
    fs::permissions(folder_, fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_EQ(probes.CheckFolder(Folder()), Use::Unusable);
    EXPECT_EQ(probes.CheckFolder(Folder() + "/missing"), Use::Unusable);
  }

  EXPECT_TRUE(probes.IsFile(Folder() + "/file"));
  EXPECT_FALSE(probes.IsFile(Folder() + "/cache"));
  EXPECT_FALSE(probes.IsFile(Folder() + "/none"));
}

// The desktop snapshot is private to its owner, even when an older one was not, and a link at
// its name is replaced, never written through.
TEST_F(PosixFileSystemTest, ASavedSnapshotIsReadableByItsOwnerOnlyAndNeverWrittenThroughALink) {
  fs::create_directories(folder_ / "snapshot");
  const fs::path snapshot = folder_ / "snapshot" / "Vellora.bmp";
  Put(snapshot, "older");
  ::chmod(snapshot.c_str(), 0644);
  Put(folder_ / "notes.txt", "notes");

  for (const char* older : {"a file", "a link"}) {
    if (std::string(older) == "a link") {
      fs::remove(snapshot);
      fs::create_symlink(folder_ / "notes.txt", snapshot);
    }
    ASSERT_TRUE(SaveBitmap24(PlatformFileSystem(), Canvas(3, 2, {1, 2, 3}), snapshot.string(), true)) << older;
    struct stat info {};
    ASSERT_EQ(::lstat(snapshot.c_str(), &info), 0);
    EXPECT_TRUE(S_ISREG(info.st_mode)) << older;
    EXPECT_EQ(info.st_mode & 0777, 0600u) << older;
    EXPECT_EQ(info.st_size, 54 + 2 * 12) << older;
    EXPECT_EQ(Entries(folder_ / "snapshot"), 1) << older;
  }
  EXPECT_EQ(Contents(folder_ / "notes.txt"), "notes");
}

}  // namespace
}  // namespace vellora::shell
