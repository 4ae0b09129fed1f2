// Error codes of the media command interpreter: the platform's MCI codes, so that a reply to a
// command means the same on every system, and their texts.
#pragma once

#include <cstdint>
#include <string_view>

namespace vellora::shell::mci {

inline constexpr int32_t kUnrecognizedKeyword = 259;
inline constexpr int32_t kUnrecognizedCommand = 261;
inline constexpr int32_t kHardware = 262;
inline constexpr int32_t kInvalidDeviceName = 263;
inline constexpr int32_t kOutOfMemory = 264;
inline constexpr int32_t kDeviceOpen = 265;
inline constexpr int32_t kMissingCommandString = 267;
inline constexpr int32_t kParamOverflow = 268;
inline constexpr int32_t kMissingStringArgument = 269;
inline constexpr int32_t kBadInteger = 270;
inline constexpr int32_t kMissingParameter = 273;
inline constexpr int32_t kUnsupportedFunction = 274;
inline constexpr int32_t kFileNotFound = 275;
inline constexpr int32_t kDeviceNotReady = 276;
inline constexpr int32_t kOutOfRange = 282;
inline constexpr int32_t kDuplicateAlias = 289;
inline constexpr int32_t kMissingDeviceName = 292;
inline constexpr int32_t kBadTimeFormat = 293;
inline constexpr int32_t kNoClosingQuote = 294;
inline constexpr int32_t kDuplicateFlags = 295;
inline constexpr int32_t kInvalidFile = 296;
inline constexpr int32_t kExtraCharacters = 305;
inline constexpr int32_t kDeviceNotInstalled = 306;
inline constexpr int32_t kWaveOutputsUnsuitable = 326;

// The text for a code; empty when the code is not one of the interpreter's.
std::string_view MciErrorText(int32_t code);

}  // namespace vellora::shell::mci
