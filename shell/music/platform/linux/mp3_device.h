// An MPEG audio file opened as a device (type MPEGVideo): play between two times in
// milliseconds, stop (which keeps the position), pause, resume and the status replies. Once
// the file has played to its end the device is "stopped". Only the open reads the file on the
// caller's thread: every play reads it afresh on the output's feeder, and a stop leaves a read
// under way behind.
#pragma once

#include <memory>
#include <string>

#include "music/platform/linux/audio_output.h"
#include "music/platform/linux/mci_device.h"
#include "music/platform/linux/mp3_source.h"

namespace vellora::shell::mci {

class Mp3Device final : public MciDevice {
 public:
  Mp3Device(std::string path, const Mp3Format& format, AudioOutput& output);
  ~Mp3Device() override;

  int32_t Execute(const Request& request, std::string& reply) override;

 private:
  int32_t Play(const Request& request);
  uint64_t CurrentMilliseconds() const;
  void StopVoice();

  std::string path_;
  int rate_;
  AudioOutput& output_;
  uint64_t length_;
  VoiceId voice_ = 0;
  uint64_t playStart_ = 0;  // milliseconds
  uint64_t playEnd_ = 0;
  uint64_t position_ = 0;   // where it stands when no voice runs
};

}  // namespace vellora::shell::mci
