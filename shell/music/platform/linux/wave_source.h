// A sound file read by libsndfile (WAV and the other formats it knows), optionally looping,
// as a sound for the output.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "music/platform/linux/converted_source.h"

struct sf_private_tag;

namespace vellora::shell::mci {

class WaveSource final : public ConvertedSource {
 public:
  // nullptr when the file cannot be read as sound (or holds none).
  static std::unique_ptr<WaveSource> Open(const std::string& path, bool loop);
  ~WaveSource() override;

 private:
  WaveSource(sf_private_tag* file, int rate, int channels, bool loop);
  size_t Decode(int16_t* frames, size_t frameCount) override;

  sf_private_tag* file_;
  bool loop_;
};

}  // namespace vellora::shell::mci
