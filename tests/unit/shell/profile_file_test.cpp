#include "settings/profile_file.h"

#include <gtest/gtest.h>

#include <string>

#include "fake_file_system.h"

namespace vellora::shell {
namespace {

using testing::FakeFileSystem;

const std::string kPath = "C:\\Vellora\\Vellora.ini";
const std::string kOld = "[Section]\r\nkey=old\r\n; keep me\r\n";

TEST(ReadProfileValue, GivesTheDefaultForAnythingMissing) {
  FakeFileSystem files;
  EXPECT_EQ(ReadProfileValue(files, "Section", "key", "dflt", 256, kPath), "dflt");
  EXPECT_TRUE(files.files.empty());  // reading creates nothing

  files.files[kPath] = kOld;
  EXPECT_EQ(ReadProfileValue(files, "Section", "key", "dflt", 256, kPath), "old");
  EXPECT_EQ(ReadProfileValue(files, "Section", "other", "dflt", 256, kPath), "dflt");
  EXPECT_EQ(ReadProfileValue(files, "Other", "key", "dflt", 256, kPath), "dflt");
  EXPECT_EQ(ReadProfileValue(files, "Section", "key", "dflt", 1, kPath), "");

  files.folders.insert(kPath);
  EXPECT_EQ(ReadProfileValue(files, "Section", "key", "dflt", 256, kPath), "dflt");
}

TEST(ReadProfileValue, CutsLongValuesToTheBufferWithoutSplittingACharacter) {
  FakeFileSystem files;
  files.files[kPath] = "[S]\nk=" + std::string(300, 'x') + "\n";
  EXPECT_EQ(ReadProfileValue(files, "S", "k", "", 256, kPath), std::string(255, 'x'));

  // 254 single bytes then あ (82 A0): the 255th byte would be half of it.
  const std::string doubleByte = "\x82\xA0";
  files.files[kPath] = "[S]\nk=" + std::string(254, 'x') + doubleByte + "tail\n";
  EXPECT_EQ(ReadProfileValue(files, "S", "k", "", 256, kPath), std::string(254, 'x'));
  files.files[kPath] = "[S]\nk=" + std::string(253, 'x') + doubleByte + "tail\n";
  EXPECT_EQ(ReadProfileValue(files, "S", "k", "", 256, kPath), std::string(253, 'x') + doubleByte);
}

TEST(WriteProfileValue, CreatesAMissingFileAndWaitsForTheDisk) {
  FakeFileSystem files;
  EXPECT_TRUE(WriteProfileValue(files, "Section", "key", "v", kPath));
  EXPECT_EQ(files.files.at(kPath), "[Section]\r\nkey=v\r\n");
  EXPECT_EQ(files.files.size(), 1u);  // the temporary file is gone
  EXPECT_EQ(files.durability.at(kPath), Durability::Flushed);  // the user's settings survive a crash
}

TEST(WriteProfileValue, AFailedWriteLeavesTheOldFileUntouched) {
  for (const char* failure : {"disk full", "rename fails", "unreadable file", "refused key"}) {
    FakeFileSystem files;
    files.files[kPath] = kOld;
    files.failWrites = std::string(failure) == "disk full";
    files.failReplaces = std::string(failure) == "rename fails";
    std::string key = "key";
    if (std::string(failure) == "unreadable file") files.folders.insert(kPath);
    if (std::string(failure) == "refused key") key = "a=b";

    EXPECT_FALSE(WriteProfileValue(files, "Section", key, "new", kPath)) << failure;
    EXPECT_EQ(files.files.at(kPath), kOld) << failure;
    EXPECT_EQ(files.files.size(), 1u) << failure;  // no temporary file left
  }
}

}  // namespace
}  // namespace vellora::shell
