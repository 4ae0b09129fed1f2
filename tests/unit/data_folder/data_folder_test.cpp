#include "data_folder.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "fake_data_folder_probes.h"

namespace vellora {
namespace {

using testing::FakeDataFolderProbes;
constexpr FolderConvention kWindows = FolderConvention::Windows;
constexpr FolderConvention kLinux = FolderConvention::Freedesktop;

const std::map<std::string, std::string> kLinuxVariables = {
    {"XDG_CONFIG_HOME", "/home/ann/conf"}, {"XDG_RUNTIME_DIR", "/run/user/1000"}, {"XDG_CACHE_HOME", "/var/ann"}};

TEST(DataFolderRule, Table) {
  struct Case {
    const char* what;
    FolderConvention convention;
    std::string program;  // as the platform reports it
    bool writable;
    std::map<std::string, std::string> environment;
    std::string home;
    std::set<std::string> files;
    std::string snapshotFile;  // where the snapshot is written and read
    std::string settings;      // where saving writes
    std::string settingsToRead;
  };
  const Case cases[] = {
      {"writable folder", kWindows, "C:\\Vellora", true, {{"LOCALAPPDATA", "C:\\Users\\ann\\AppData\\Local"}}, "", {},
       "C:\\Vellora\\Vellora.bmp", "C:\\Vellora", "C:\\Vellora"},
      {"read-only folder", kWindows, "C:\\Windows\\System32", false,
       {{"LOCALAPPDATA", "C:\\Users\\ann\\AppData\\Local\\"}}, "", {},
       "C:\\Users\\ann\\AppData\\Local\\Vellora\\Vellora.bmp", "C:\\Users\\ann\\AppData\\Local\\Vellora",
       "C:\\Users\\ann\\AppData\\Local\\Vellora"},
      {"a Vellora.ini only in the program folder", kWindows, "C:\\Program Files\\Vellora", false,
       {{"LOCALAPPDATA", "C:\\Users\\ann\\AppData\\Local"}}, "", {"C:\\Program Files\\Vellora\\Vellora.ini"},
       "C:\\Users\\ann\\AppData\\Local\\Vellora\\Vellora.bmp", "C:\\Users\\ann\\AppData\\Local\\Vellora",
       "C:\\Program Files\\Vellora"},
      {"both present", kWindows, "C:\\Program Files\\Vellora", false,
       {{"LOCALAPPDATA", "C:\\Users\\ann\\AppData\\Local"}}, "",
       {"C:\\Program Files\\Vellora\\Vellora.ini", "C:\\Users\\ann\\AppData\\Local\\Vellora\\Vellora.ini"},
       "C:\\Users\\ann\\AppData\\Local\\Vellora\\Vellora.bmp", "C:\\Users\\ann\\AppData\\Local\\Vellora",
       "C:\\Users\\ann\\AppData\\Local\\Vellora"},
      {"no LOCALAPPDATA, or a relative one", kWindows, "C:\\Program Files\\Vellora", false,
       {{"LOCALAPPDATA", "AppData"}}, "", {}, "C:\\Program Files\\Vellora\\Vellora.bmp",
       "C:\\Program Files\\Vellora", "C:\\Program Files\\Vellora"},

      {"writable folder", kLinux, "/home/ann/vellora", true, kLinuxVariables, "/home/ann", {},
       "/home/ann/vellora/Vellora.bmp", "/home/ann/vellora", "/home/ann/vellora"},
      {"read-only folder", kLinux, "/usr/lib/vellora", false, kLinuxVariables, "/home/ann", {},
       "/run/user/1000/vellora/Vellora.bmp", "/home/ann/conf/vellora", "/home/ann/conf/vellora"},
      {"no runtime folder", kLinux, "/usr/lib/vellora", false,
       {{"XDG_CONFIG_HOME", "/home/ann/conf/"}, {"XDG_CACHE_HOME", "/var/ann"}}, "/home/ann", {},
       "/var/ann/vellora/Vellora.bmp", "/home/ann/conf/vellora", "/home/ann/conf/vellora"},
      {"no XDG_* variables", kLinux, "/usr/lib/vellora", false, {}, "/home/ann", {},
       "/home/ann/.cache/vellora/Vellora.bmp", "/home/ann/.config/vellora", "/home/ann/.config/vellora"},
      {"relative XDG_* variables", kLinux, "/usr/lib/vellora", false,
       {{"XDG_CONFIG_HOME", "conf"}, {"XDG_RUNTIME_DIR", "run"}, {"XDG_CACHE_HOME", ""}}, "/home/ann", {},
       "/home/ann/.cache/vellora/Vellora.bmp", "/home/ann/.config/vellora", "/home/ann/.config/vellora"},
      {"no variables and no home", kLinux, "/usr/lib/vellora", false, {}, "", {}, "/usr/lib/vellora/Vellora.bmp",
       "/usr/lib/vellora", "/usr/lib/vellora"},
      // The renderer reports its folder with a trailing separator.
      {"a Vellora.ini only in the program folder", kLinux, "/usr/lib/vellora/", false, kLinuxVariables,
       "/home/ann", {"/usr/lib/vellora/Vellora.ini"}, "/run/user/1000/vellora/Vellora.bmp",
       "/home/ann/conf/vellora", "/usr/lib/vellora/"},
      {"both present", kLinux, "/usr/lib/vellora", false, kLinuxVariables, "/home/ann",
       {"/usr/lib/vellora/Vellora.ini", "/home/ann/conf/vellora/Vellora.ini"}, "/run/user/1000/vellora/Vellora.bmp",
       "/home/ann/conf/vellora", "/home/ann/conf/vellora"},
  };
  for (const Case& c : cases) {
    FakeDataFolderProbes probes;
    probes.convention = c.convention;
    probes.environment = c.environment;
    probes.home = c.home;
    probes.presentFiles = c.files;
    if (!c.writable) probes.readOnlyFolders.insert(c.program);
    const DataFolders folders = FindDataFolders(probes, c.program);
    const std::string label = std::string(c.convention == kWindows ? "Windows: " : "Linux: ") + c.what;
    EXPECT_EQ(FileInFolder(c.convention, folders.snapshot, "Vellora.bmp"), c.snapshotFile) << label;
    EXPECT_EQ(folders.settings, c.settings) << label;
    EXPECT_EQ(folders.settingsToRead, c.settingsToRead) << label;
    EXPECT_TRUE(probes.madeFolders.empty()) << label << ": the rule made a folder";
  }
}

}  // namespace
}  // namespace vellora
