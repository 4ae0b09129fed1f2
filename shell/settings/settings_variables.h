// The shell's process-wide variables of its shared module: the music settings, loaded once
// by LoadSettings and changed only by the settings dialog, and the result of the most recent
// platform call. All start at zero or empty.
#pragma once

#include <cstdint>
#include <string>

namespace vellora::shell {

// Values of BgmMode.
inline constexpr int16_t kBgmModeNone = 0;
inline constexpr int16_t kBgmModeCd = 1;
inline constexpr int16_t kBgmModeFile = 2;  // an MP3 or WAV file

extern int16_t BgmMode;         // the music kind (other values load unchanged too)
extern int16_t BgmRepeatTrack;  // CD track to repeat; 0 for none
extern std::string BgmFile;     // full path of the music file (UTF-8); empty for none
extern int32_t ApiResult;       // what the most recent platform call returned

// The cursor point taken when the session form or the settings dialog loads (only one of the
// two is ever loaded in a process): the session's mouse-test reference, the dialog's zoom origin.
extern int16_t CursorStartX;
extern int16_t CursorStartY;

}  // namespace vellora::shell
