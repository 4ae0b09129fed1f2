// A decoder's own rate and channel count turned into the output's format, through SDL's
// audio stream converter. A decoder that already gives 44.1 kHz stereo passes unchanged.
#pragma once

#include <cstdint>
#include <vector>

#include "music/platform/linux/pcm_source.h"

struct _SDL_AudioStream;

namespace vellora::shell::mci {

class ConvertedSource : public PcmSource {
 public:
  ConvertedSource(int rate, int channels);
  ~ConvertedSource() override;
  ConvertedSource(const ConvertedSource&) = delete;
  ConvertedSource& operator=(const ConvertedSource&) = delete;

  size_t Read(int16_t* frames, size_t frameCount) override;

  int Rate() const { return rate_; }
  int Channels() const { return channels_; }
  bool Usable() const { return passThrough_ || stream_ != nullptr; }

 protected:
  // Decodes up to frameCount frames in the decoder's own format; 0 at the end.
  virtual size_t Decode(int16_t* frames, size_t frameCount) = 0;
  // Forgets converted frames still waiting, after the decoder has been moved.
  void DiscardPending();

 private:
  int rate_;
  int channels_;
  bool passThrough_;
  bool decoderEnded_ = false;
  uint64_t inputFrames_ = 0;   // decoded since the start or the last move
  uint64_t outputFrames_ = 0;  // converted frames handed on since then
  _SDL_AudioStream* stream_ = nullptr;
  std::vector<int16_t> scratch_;
};

}  // namespace vellora::shell::mci
