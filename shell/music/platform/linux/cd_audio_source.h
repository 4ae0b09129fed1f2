// A span of audio sectors read from the CD drive, as a sound for the output.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "music/platform/linux/cd_drive.h"
#include "music/platform/linux/pcm_source.h"

namespace vellora::shell::mci {

class CdAudioSource final : public PcmSource {
 public:
  // Plays sectors [start, end). A sector that cannot be read ends the sound there.
  CdAudioSource(std::shared_ptr<CdDrive> drive, int32_t start, int32_t end);
  size_t Read(int16_t* frames, size_t frameCount) override;

 private:
  std::shared_ptr<CdDrive> drive_;
  int32_t next_;
  int32_t end_;
  std::vector<int16_t> buffer_;  // sectors read and not yet handed on
  size_t bufferOffset_ = 0;      // in samples
};

}  // namespace vellora::shell::mci
