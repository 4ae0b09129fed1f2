// A sound file read by libsndfile (WAV and the other formats it knows), optionally looping, as
// a sound for the output. Samples are read as floats, which libsndfile gives at their true
// level whatever the file holds (8 to 32-bit integers, 32 and 64-bit floats, compressed
// formats); a mono file is heard on both sides, and a file of more channels as its front pair
// with the others mixed in.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "music/platform/linux/pcm_source.h"

struct sf_private_tag;

namespace vellora::shell::mci {

class WaveSource final : public PcmSource {
 public:
  // nullptr when the file cannot be read as sound (or holds none).
  static std::unique_ptr<WaveSource> Open(const std::string& path, bool loop);
  ~WaveSource() override;

  int Rate() const override { return rate_; }
  size_t Read(float* frames, size_t frameCount) override;

 private:
  WaveSource(sf_private_tag* file, int rate, int channels, bool loop);
  // Reads up to frameCount frames in the file's own channels, starting again at the end of a
  // looping sound.
  size_t ReadFile(float* samples, size_t frameCount);

  sf_private_tag* file_;
  int rate_;
  int channels_;
  bool loop_;
  std::vector<float> scratch_;
};

}  // namespace vellora::shell::mci
