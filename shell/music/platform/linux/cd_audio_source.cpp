#include "music/platform/linux/cd_audio_source.h"

#include <algorithm>

namespace vellora::shell::mci {
namespace {
constexpr int32_t kSectorsPerRead = 15;  // a fifth of a second at most
constexpr int kReadAttempts = 3;
constexpr size_t kSectorSamples = kFramesPerSector * kOutputChannels;
}  // namespace

CdAudioSource::CdAudioSource(std::shared_ptr<CdDrive> drive, std::vector<SectorSpan> spans)
    : drive_(std::move(drive)),
      spans_(std::move(spans)),
      next_(spans_.front().start),
      sectorBuffer_(kSectorSamples),
      following_(next_),
      marks_{{0, next_}} {}

size_t CdAudioSource::Read(float* frames, size_t frameCount) {
  size_t done = 0;
  while (done < frameCount) {
    if (bufferOffset_ >= buffer_.size()) {
      buffer_.clear();
      bufferOffset_ = 0;
      if (!Fill(frameCount - done)) break;
    }
    const size_t framesLeft = (buffer_.size() - bufferOffset_) / kOutputChannels;
    const size_t take = std::min(frameCount - done, framesLeft);
    const int16_t* from = buffer_.data() + bufferOffset_;
    float* to = frames + done * kOutputChannels;
    for (size_t i = 0; i < take * kOutputChannels; ++i) to[i] = static_cast<float>(from[i]) / 32768.0f;
    bufferOffset_ += take * kOutputChannels;
    done += take;
  }
  return done;
}

bool CdAudioSource::Fill(size_t wantedFrames) {
  while (!ended_) {
    while (span_ < spans_.size() && next_ >= spans_[span_].end) {
      if (++span_ < spans_.size()) next_ = spans_[span_].start;
    }
    if (span_ == spans_.size()) {
      EndAt(spans_.back().end);
      break;
    }
    // No more than asked for, so that a voice's first read is short and it starts at once.
    const auto wantedSectors = static_cast<int32_t>((wantedFrames + kFramesPerSector - 1) / kFramesPerSector);
    const int32_t count = std::min({kSectorsPerRead, std::max(wantedSectors, 1), spans_[span_].end - next_});
    buffer_.resize(static_cast<size_t>(count) * kSectorSamples);
    if (ReadWithRetries(next_, count, buffer_.data())) {
      Note(next_, count);
      next_ += count;
      return true;
    }
    // Something in there cannot be read (a scratch): take the sectors one by one, each with
    // its own tries, since a sector beside a bad one may read at a later try, and skip those
    // that still fail.
    buffer_.clear();
    for (int32_t sector = next_; sector < next_ + count; ++sector) {
      if (!ReadWithRetries(sector, 1, sectorBuffer_.data())) continue;
      buffer_.insert(buffer_.end(), sectorBuffer_.begin(), sectorBuffer_.end());
      Note(sector, 1);
    }
    if (!buffer_.empty()) {
      next_ += count;
      return true;
    }
    if (!drive_->DiscPresent()) EndAt(next_);  // taken out: the sound ends where reading stopped
    next_ += count;
  }
  return false;
}

bool CdAudioSource::ReadWithRetries(int32_t sector, int32_t count, int16_t* frames) {
  for (int attempt = 0; attempt < kReadAttempts; ++attempt) {
    if (drive_->ReadAudio(sector, static_cast<uint32_t>(count), frames)) return true;
  }
  return false;
}

void CdAudioSource::Note(int32_t sector, int32_t count) {
  if (sector != following_) {
    std::lock_guard<std::mutex> lock(marksMutex_);
    marks_.push_back({framesBuffered_, sector});
  }
  framesBuffered_ += static_cast<uint64_t>(count) * kFramesPerSector;
  following_ = sector + count;
}

void CdAudioSource::EndAt(int32_t sector) {
  ended_ = true;
  std::lock_guard<std::mutex> lock(marksMutex_);
  marks_.push_back({framesBuffered_, sector});
}

int32_t CdAudioSource::SectorReached(uint64_t framesPlayed) const {
  std::lock_guard<std::mutex> lock(marksMutex_);
  // The last mark at or before the frame: later marks at the same frame replace earlier ones.
  const auto after = std::upper_bound(marks_.begin(), marks_.end(), framesPlayed,
                                      [](uint64_t frame, const Mark& mark) { return frame < mark.frame; });
  const Mark& mark = *std::prev(after);
  return mark.sector + static_cast<int32_t>((framesPlayed - mark.frame) / kFramesPerSector);
}

}  // namespace vellora::shell::mci
