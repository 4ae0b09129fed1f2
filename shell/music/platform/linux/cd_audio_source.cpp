#include "music/platform/linux/cd_audio_source.h"

#include <algorithm>
#include <cstring>

namespace vellora::shell::mci {
namespace {
constexpr int32_t kSectorsPerRead = 15;  // a fifth of a second
}

CdAudioSource::CdAudioSource(std::shared_ptr<CdDrive> drive, int32_t start, int32_t end)
    : drive_(std::move(drive)), next_(start), end_(end) {}

size_t CdAudioSource::Read(int16_t* frames, size_t frameCount) {
  size_t done = 0;
  while (done < frameCount) {
    if (bufferOffset_ >= buffer_.size()) {
      if (next_ >= end_) break;
      const int32_t count = std::min(kSectorsPerRead, end_ - next_);
      buffer_.resize(static_cast<size_t>(count) * kFramesPerSector * kOutputChannels);
      bufferOffset_ = 0;
      if (!drive_->ReadAudio(next_, static_cast<uint32_t>(count), buffer_.data())) {
        buffer_.clear();
        end_ = next_;
        break;
      }
      next_ += count;
    }
    const size_t framesLeft = (buffer_.size() - bufferOffset_) / kOutputChannels;
    const size_t take = std::min(frameCount - done, framesLeft);
    std::memcpy(frames + done * kOutputChannels, buffer_.data() + bufferOffset_,
                take * kOutputChannels * sizeof(int16_t));
    bufferOffset_ += take * kOutputChannels;
    done += take;
  }
  return done;
}

}  // namespace vellora::shell::mci
