#include "music/platform/linux/wave_source.h"

#include <sndfile.h>

namespace vellora::shell::mci {

std::unique_ptr<WaveSource> WaveSource::Open(const std::string& path, bool loop) {
  SF_INFO info{};
  SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
  if (file == nullptr) return nullptr;
  if (info.frames <= 0 || info.channels <= 0 || info.samplerate <= 0 || info.channels > 8) {
    sf_close(file);
    return nullptr;
  }
  return std::unique_ptr<WaveSource>(new WaveSource(file, info.samplerate, info.channels, loop));
}

WaveSource::WaveSource(SNDFILE* file, int rate, int channels, bool loop)
    : file_(file), rate_(rate), channels_(channels), loop_(loop) {}

WaveSource::~WaveSource() { sf_close(file_); }

size_t WaveSource::ReadFile(float* samples, size_t frameCount) {
  size_t total = 0;
  bool rewound = false;
  while (total < frameCount) {
    const sf_count_t got = sf_readf_float(file_, samples + total * static_cast<size_t>(channels_),
                                          static_cast<sf_count_t>(frameCount - total));
    if (got > 0) {
      total += static_cast<size_t>(got);
      rewound = false;
      continue;
    }
    // The end: a looping sound starts again, once per read that found nothing.
    if (!loop_ || rewound || sf_seek(file_, 0, SEEK_SET) != 0) break;
    rewound = true;
  }
  return total;
}

size_t WaveSource::Read(float* frames, size_t frameCount) {
  if (channels_ == kOutputChannels) return ReadFile(frames, frameCount);
  scratch_.resize(frameCount * static_cast<size_t>(channels_));
  const size_t got = ReadFile(scratch_.data(), frameCount);
  for (size_t frame = 0; frame < got; ++frame) {
    const float* in = scratch_.data() + frame * static_cast<size_t>(channels_);
    float left = in[0];
    float right = in[0];
    if (channels_ > 1) {
      // The front pair, with the other channels (centre, surround) at half power on both
      // sides, scaled so that the sum cannot exceed the loudest input.
      right = in[1];
      float rest = 0.0f;
      for (int channel = 2; channel < channels_; ++channel) rest += in[channel];
      constexpr float kHalfPower = 0.70710678f;
      const float scale = 1.0f / (1.0f + kHalfPower * static_cast<float>(channels_ - 2));
      left = (left + kHalfPower * rest) * scale;
      right = (right + kHalfPower * rest) * scale;
    }
    frames[frame * kOutputChannels] = left;
    frames[frame * kOutputChannels + 1] = right;
  }
  return got;
}

}  // namespace vellora::shell::mci
