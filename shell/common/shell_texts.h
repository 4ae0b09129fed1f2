// Titles and texts the shell shows or looks for.
#pragma once

namespace vellora::shell {

inline constexpr const char* kSessionTitle = "Vellora_Main";
inline constexpr const char* kSettingsTitle = "<Vellora>";
inline constexpr const char* kRendererTitle = "Vellora_Tessel";
inline constexpr const char* kPreviewTitle = "Preview Window";
inline constexpr const char* kApplicationTitle = "Vellora(ScreenSaver)";
inline constexpr const char* kRendererMissingText = u8"Vellora.data が Vellora.scr と同じﾌｫﾙﾀﾞに見つかりません！";
// When the settings dialog cannot keep a chosen music file's path as it is.
inline constexpr const char* kUnusablePathText = u8"このﾌｧｲﾙは選べません。ﾊﾟｽが長すぎるか、使えない文字が含まれています。";
inline constexpr const char* kRendererFileName = "Vellora.data";
inline constexpr const char* kSnapshotFileName = "Vellora.bmp";

}  // namespace vellora::shell
