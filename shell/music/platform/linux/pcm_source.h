// A sound as the audio output takes it: 44.1 kHz, two channels, signed 16-bit frames.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vellora::shell::mci {

inline constexpr int kOutputRate = 44100;
inline constexpr int kOutputChannels = 2;

class PcmSource {
 public:
  virtual ~PcmSource() = default;
  // Fills up to frameCount interleaved frames; returns how many. 0 means the sound has ended.
  virtual size_t Read(int16_t* frames, size_t frameCount) = 0;
};

}  // namespace vellora::shell::mci
