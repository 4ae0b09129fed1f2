#include "music/platform/linux/resampler.h"

#include <samplerate.h>

#include "music/platform/linux/pcm_source.h"

namespace vellora::shell::mci {
namespace {
// Windowed sinc of 121 dB and 90 % of the band: its error lies well below what 16-bit output
// itself can hold, at a fraction of the cost of the best converter.
constexpr int kConverter = SRC_SINC_MEDIUM_QUALITY;
}  // namespace

Resampler::Resampler(int fromRate, int toRate) : ratio_(static_cast<double>(toRate) / fromRate) {
  int error = 0;
  if (src_is_valid_ratio(ratio_)) state_ = src_new(kConverter, kOutputChannels, &error);
}

Resampler::~Resampler() {
  if (state_ != nullptr) src_delete(state_);
}

size_t Resampler::OutputFrames(size_t frameCount) const {
  return static_cast<size_t>(static_cast<double>(frameCount) * ratio_) + 1;
}

void Resampler::Process(const float* frames, size_t frameCount, bool last, std::vector<float>& out) {
  if (state_ == nullptr) return;
  SRC_DATA data{};
  data.src_ratio = ratio_;
  data.end_of_input = last ? 1 : 0;
  while (true) {
    // Room for what this input gives, and for the converter's held-back tail at the end.
    const size_t room = OutputFrames(frameCount) + 256;
    const size_t at = out.size();
    out.resize(at + room * kOutputChannels);
    data.data_in = frames;
    data.input_frames = static_cast<long>(frameCount);
    data.data_out = out.data() + at;
    data.output_frames = static_cast<long>(room);
    const bool failed = src_process(state_, &data) != 0;
    out.resize(at + static_cast<size_t>(failed ? 0 : data.output_frames_gen) * kOutputChannels);
    if (failed) return;
    frames += data.input_frames_used * kOutputChannels;
    frameCount -= static_cast<size_t>(data.input_frames_used);
    // Done once the input is used up and, at the end, the converter has nothing more to give.
    if (frameCount == 0 && (!last || data.output_frames_gen == 0)) return;
    if (data.input_frames_used == 0 && data.output_frames_gen == 0) return;
  }
}

}  // namespace vellora::shell::mci
