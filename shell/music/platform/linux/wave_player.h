// The sound player: one sound file at a time, played asynchronously (once or looping) or
// synchronously, and stopped by a call without a sound. Names are file names; a name that is
// no playable file plays nothing, as there is no default system sound to fall back to here.
#pragma once

#include <cstdint>
#include <string>

#include "music/platform/linux/audio_output.h"

namespace vellora::shell::mci {

class WavePlayer {
 public:
  explicit WavePlayer(AudioOutput& output) : output_(output) {}
  ~WavePlayer();
  WavePlayer(const WavePlayer&) = delete;
  WavePlayer& operator=(const WavePlayer&) = delete;

  // Returns 1 on success and 0 on failure, as the platform's sound player does.
  int32_t Play(const std::string* path, uint32_t flags);

 private:
  AudioOutput& output_;
  VoiceId voice_ = 0;
};

}  // namespace vellora::shell::mci
