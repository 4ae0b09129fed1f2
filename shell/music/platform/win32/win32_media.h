// The media interface on Windows: winmm's mciSendStringA, mciGetErrorStringA, PlaySoundA and
// waveOutGetNumDevs, bound by name when first used. Without winmm every call fails silently.
// Text is converted between the shell's UTF-8 and code page 932 at this edge.
#pragma once

#include "music/media_interface.h"

namespace vellora::shell {

class Win32Media final : public MediaInterface {
 public:
  int32_t SendCommand(std::string_view command, uint32_t replyLength,
                      std::string& reply) override;
  bool GetErrorText(int32_t code, uint32_t bufferLength, std::string& text) override;
  int32_t PlaySoundName(const std::string* sound, uint32_t flags) override;
  int32_t WaveOutDeviceCount() override;
};

}  // namespace vellora::shell
