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
    std::string snapshotFile;  // where the snapshot is written and read; empty: nowhere
    std::string settings;      // where saving writes
    std::string settingsToRead;
    std::set<std::string> foreign = {};   // not the user's own: another user's, open to others, a link
    std::set<std::string> readOnly = {};  // the user cannot write there
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
      // A system location is never written to, even by a user who could (root).
      {"root in the package's folder", kLinux, "/usr/lib/vellora", true, kLinuxVariables, "/root", {},
       "/run/user/1000/vellora/Vellora.bmp", "/home/ann/conf/vellora", "/home/ann/conf/vellora"},
      {"root in a package unpacked below another root", kLinux, "/srv/chroot/usr/lib/vellora/", true, kLinuxVariables,
       "/root", {}, "/run/user/1000/vellora/Vellora.bmp", "/home/ann/conf/vellora", "/home/ann/conf/vellora"},
      {"a copy unpacked into ~/.local", kLinux, "/home/ann/.local/lib/vellora", true, kLinuxVariables, "/home/ann",
       {}, "/home/ann/.local/lib/vellora/Vellora.bmp", "/home/ann/.local/lib/vellora",
       "/home/ann/.local/lib/vellora"},
      {"a copy in a folder others can write to", kLinux, "/home/ann/vellora", true, kLinuxVariables, "/home/ann", {},
       "/run/user/1000/vellora/Vellora.bmp", "/home/ann/conf/vellora", "/home/ann/conf/vellora", {"/home/ann/vellora"}},
      // A folder planted by someone else, or one that is no folder, gives way to the next
      // candidate; so does a runtime folder that is not the user's (as after su), one the user
      // cannot write to, or a file.
      {"planted vellora folders", kLinux, "/usr/lib/vellora", false, kLinuxVariables, "/home/ann", {},
       "/home/ann/.cache/vellora/Vellora.bmp", "/home/ann/.config/vellora", "/home/ann/.config/vellora",
       {"/home/ann/conf/vellora", "/run/user/1000/vellora", "/var/ann/vellora"}},
      {"a file at vellora", kLinux, "/usr/lib/vellora", false, kLinuxVariables, "/home/ann",
       {"/run/user/1000/vellora", "/home/ann/conf/vellora"}, "/var/ann/vellora/Vellora.bmp",
       "/home/ann/.config/vellora", "/home/ann/.config/vellora"},
      {"another user's runtime folder", kLinux, "/usr/lib/vellora", false, kLinuxVariables, "/home/ann", {},
       "/var/ann/vellora/Vellora.bmp", "/home/ann/conf/vellora", "/home/ann/conf/vellora", {"/run/user/1000"}},
      {"an unwritable runtime folder", kLinux, "/usr/lib/vellora", false, kLinuxVariables, "/home/ann", {},
       "/var/ann/vellora/Vellora.bmp", "/home/ann/conf/vellora", "/home/ann/conf/vellora", {}, {"/run/user/1000"}},
      {"a runtime folder that is a file", kLinux, "/usr/lib/vellora", false, kLinuxVariables, "/home/ann",
       {"/run/user/1000"}, "/var/ann/vellora/Vellora.bmp", "/home/ann/conf/vellora", "/home/ann/conf/vellora"},
      // With no folder of the user's, nothing is written; the program folder's settings are read.
      {"no variables and no home", kLinux, "/usr/lib/vellora", false, {}, "", {"/usr/lib/vellora/Vellora.ini"}, "",
       "", "/usr/lib/vellora"},
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
    probes.foreignFolders = c.foreign;
    probes.readOnlyFolders = c.readOnly;
    if (!c.writable) probes.readOnlyFolders.insert(c.program);
    const DataFolders folders = FindDataFolders(probes, c.program);
    const std::string label = std::string(c.convention == kWindows ? "Windows: " : "Linux: ") + c.what;
    EXPECT_EQ(folders.snapshot.empty() ? "" : FileInFolder(c.convention, folders.snapshot, "Vellora.bmp"),
              c.snapshotFile)
        << label;
    EXPECT_EQ(folders.settings, c.settings) << label;
    EXPECT_EQ(folders.settingsToRead, c.settingsToRead) << label;
    EXPECT_TRUE(probes.madeFolders.empty()) << label << ": the rule made a folder";
  }
}

}  // namespace
}  // namespace vellora
