#include "settings/settings_variables.h"

namespace vellora::shell {

int16_t BgmMode = 0;
int16_t BgmRepeatTrack = 0;
std::string BgmFile;
int32_t ApiResult = 0;
int16_t CursorStartX = 0;
int16_t CursorStartY = 0;

}  // namespace vellora::shell
