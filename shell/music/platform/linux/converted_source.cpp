#include "music/platform/linux/converted_source.h"

#include <SDL.h>

#include <algorithm>

namespace vellora::shell::mci {
namespace {
constexpr size_t kDecodeChunkFrames = 2048;
}

ConvertedSource::ConvertedSource(int rate, int channels)
    : rate_(rate),
      channels_(channels),
      passThrough_(rate == kOutputRate && channels == kOutputChannels) {
  if (!passThrough_ && rate > 0 && channels > 0) {
    stream_ = SDL_NewAudioStream(AUDIO_S16SYS, static_cast<Uint8>(channels), rate, AUDIO_S16SYS,
                                 kOutputChannels, kOutputRate);
  }
}

ConvertedSource::~ConvertedSource() {
  if (stream_ != nullptr) SDL_FreeAudioStream(stream_);
}

void ConvertedSource::DiscardPending() {
  decoderEnded_ = false;
  inputFrames_ = 0;
  outputFrames_ = 0;
  if (stream_ != nullptr) SDL_AudioStreamClear(stream_);
}

size_t ConvertedSource::Read(int16_t* frames, size_t frameCount) {
  if (passThrough_) return Decode(frames, frameCount);
  if (stream_ == nullptr) return 0;
  const int frameBytes = static_cast<int>(sizeof(int16_t)) * kOutputChannels;
  while (SDL_AudioStreamAvailable(stream_) < static_cast<int>(frameCount) * frameBytes &&
         !decoderEnded_) {
    scratch_.resize(kDecodeChunkFrames * static_cast<size_t>(channels_));
    size_t decoded = Decode(scratch_.data(), kDecodeChunkFrames);
    if (decoded == 0) {
      // The resampler keeps back the last stretch of its input even when flushed; a tenth of
      // a second of silence pushes the sound's own end through, and the count below cuts the
      // silence off again.
      decoderEnded_ = true;
      decoded = static_cast<size_t>(rate_) / 10;
      scratch_.assign(decoded * static_cast<size_t>(channels_), 0);
    } else {
      inputFrames_ += decoded;
    }
    if (SDL_AudioStreamPut(stream_, scratch_.data(),
                           static_cast<int>(decoded * static_cast<size_t>(channels_) *
                                            sizeof(int16_t))) != 0) {
      decoderEnded_ = true;
    }
    if (decoderEnded_) SDL_AudioStreamFlush(stream_);
  }
  size_t wanted = frameCount;
  if (decoderEnded_) {
    // The converted sound is as long as the decoded one, at the output's rate.
    const uint64_t total = inputFrames_ * kOutputRate / static_cast<uint64_t>(rate_);
    wanted = outputFrames_ >= total ? 0 : static_cast<size_t>(std::min<uint64_t>(wanted, total - outputFrames_));
  }
  if (wanted == 0) return 0;
  const int got = SDL_AudioStreamGet(stream_, frames, static_cast<int>(wanted) * frameBytes);
  const size_t framesGot = got > 0 ? static_cast<size_t>(got / frameBytes) : 0;
  outputFrames_ += framesGot;
  return framesGot;
}

}  // namespace vellora::shell::mci
