// An MPEG audio file opened as a device (type MPEGVideo): play between two times in
// milliseconds, stop (which keeps the position), pause, resume and the status replies. Once
// the file has played to its end the device is "stopped".
#pragma once

#include <memory>

#include "music/platform/linux/audio_output.h"
#include "music/platform/linux/mci_device.h"
#include "music/platform/linux/mp3_source.h"

namespace vellora::shell::mci {

class Mp3Device final : public MciDevice {
 public:
  Mp3Device(std::shared_ptr<Mp3Source> source, AudioOutput& output);
  ~Mp3Device() override;

  int32_t Execute(const Request& request, std::string& reply) override;

 private:
  int32_t Play(const Request& request);
  uint64_t CurrentMilliseconds() const;
  void StopVoice();

  std::shared_ptr<Mp3Source> source_;
  AudioOutput& output_;
  uint64_t length_;
  VoiceId voice_ = 0;
  uint64_t playStart_ = 0;  // milliseconds
  uint64_t playEnd_ = 0;
  uint64_t position_ = 0;   // where it stands when no voice runs
};

}  // namespace vellora::shell::mci
