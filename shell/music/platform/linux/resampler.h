// One sound's rate turned into the output's, through libsamplerate. A single converter state
// runs from the sound's first frame to its last, so the sound is continuous however it is cut
// into reads: nothing is lost or repeated where one read ends and the next begins.
#pragma once

#include <cstddef>
#include <vector>

typedef struct SRC_STATE_tag SRC_STATE;

namespace vellora::shell::mci {

class Resampler {
 public:
  // Stereo frames from fromRate to toRate; Usable() is false when the converter cannot be made.
  Resampler(int fromRate, int toRate);
  ~Resampler();
  Resampler(const Resampler&) = delete;
  Resampler& operator=(const Resampler&) = delete;

  bool Usable() const { return state_ != nullptr; }
  // Converts frameCount frames and appends what comes out to out. With last set, the input
  // ends here and the converter gives up everything it still holds.
  void Process(const float* frames, size_t frameCount, bool last, std::vector<float>& out);
  // About how many frames come out for frameCount going in.
  size_t OutputFrames(size_t frameCount) const;

 private:
  double ratio_;
  SRC_STATE* state_ = nullptr;
};

}  // namespace vellora::shell::mci
