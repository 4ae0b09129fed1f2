// A sound as the audio output takes it: interleaved stereo frames of floats at the sound's own
// rate, full scale at ±1.0. Louder samples are allowed (a float file may hold them); the output
// clips them once, when it turns the mix into the device's 16-bit samples.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vellora::shell::mci {

inline constexpr int kOutputChannels = 2;
inline constexpr int kCdRate = 44100;

class PcmSource {
 public:
  virtual ~PcmSource() = default;
  // Frames a second.
  virtual int Rate() const = 0;
  // Fills up to frameCount frames; returns how many. 0 means the sound has ended.
  virtual size_t Read(float* frames, size_t frameCount) = 0;
  // Whether a read may take long (a drive spinning up): such a sound starts on a short first
  // read, where a quick one reads enough to ride out a busy machine before it starts.
  virtual bool SlowToRead() const { return false; }
};

}  // namespace vellora::shell::mci
