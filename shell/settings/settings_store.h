// The settings file Vellora.ini, in the application folder or the user's own (data_folder.h):
// one section, three keys, text in code page 932 whichever system reads or writes it. The
// shell's own strings are UTF-8.
#pragma once

#include <string>
#include <string_view>

#include "platform/file_system.h"

namespace vellora::shell {

inline constexpr std::string_view kSettingsSection = "Section";
inline constexpr std::string_view kBgmModeKey = u8"BGM区分";
inline constexpr std::string_view kBgmRepeatTrackKey = u8"BGMﾘﾋﾟｰﾄ";
inline constexpr std::string_view kBgmFileKey = u8"BGMﾌｧｲﾙ";

// The folder followed by "\Vellora.ini"; the separator is added whether or not the folder
// already ends in one.
std::string SettingsFilePath(std::string_view folder);

// The value of one key, or the empty text when the file, section or key is missing. A value
// longer than 255 bytes in code page 932 comes back cut to 255 bytes (254 when the 255th
// byte would start a double-byte character).
std::string ReadIniString(FileSystem& files, std::string_view section, std::string_view key,
                          std::string_view filePath);

// Writes one key (section and key names cut to 128 characters). Nothing is raised or shown;
// ApiResult becomes 1 when the file was written and 0 when it was left as it was.
void WriteIniString(FileSystem& files, std::string_view section, std::string_view key, std::string_view value,
                    std::string_view filePath);

// Fills BgmMode, BgmRepeatTrack and BgmFile from the settings file in settingsFolder (for the
// running shell, the settingsToRead folder of FindDataFolders). An empty number gives 0;
// a number is floored, and one that is not numeric or leaves the 16-bit range leaves its
// variable as it was. A music file that cannot be opened is dropped, and file music falls
// back to none.
void LoadSettings(FileSystem& files, std::string_view settingsFolder);

// Makes the folder of a settings file (the text before its last separator) when it is missing,
// as a user's own settings folder is before their first save; the keys are written after this,
// and only when it gives true: false when the folder cannot be made or is not the user's own
// (someone else's, one others can write to), and for a path without a folder.
bool MakeSettingsFolder(FileSystem& files, std::string_view settingsPath);

// True when the path, less one trailing "\", can be opened for reading (folders cannot).
bool FileExists(FileSystem& files, std::string_view path);

}  // namespace vellora::shell
