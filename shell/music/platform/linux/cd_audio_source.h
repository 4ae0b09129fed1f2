// Spans of audio sectors read from the CD drive, one after another, as a sound for the output.
// A failed read is tried again a few times; then its sectors are read one by one, each with
// tries of its own, and those that still cannot be read are skipped and the sound goes on
// after them. The sound ends early only when the disc has gone. Since spans
// and skips make the sound's frames no longer follow the disc evenly, the source notes where
// its frames came from, so the sector reached can be told from the frames played.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "music/platform/linux/cd_drive.h"
#include "music/platform/linux/pcm_source.h"

namespace vellora::shell::mci {

class CdAudioSource final : public PcmSource {
 public:
  // Plays the spans in order; at least one is given.
  CdAudioSource(std::shared_ptr<CdDrive> drive, std::vector<SectorSpan> spans);
  int Rate() const override { return kCdRate; }
  bool SlowToRead() const override { return true; }
  size_t Read(float* frames, size_t frameCount) override;

  // The sector the drive has reached once the first framesPlayed frames of the sound have been
  // played: the one the next frame comes from, or where the sound ended. Any thread.
  int32_t SectorReached(uint64_t framesPlayed) const;

 private:
  // From frame `frame` of the sound on, frames come from `sector` on.
  struct Mark {
    uint64_t frame;
    int32_t sector;
  };

  // Reads the next sectors into the buffer, enough for wantedFrames if the span allows;
  // false once the sound has ended.
  bool Fill(size_t wantedFrames);
  // One read, tried again a few times.
  bool ReadWithRetries(int32_t sector, int32_t count, int16_t* frames);
  // Notes sectors just put in the buffer, or the point where the sound ends.
  void Note(int32_t sector, int32_t count);
  void EndAt(int32_t sector);

  std::shared_ptr<CdDrive> drive_;
  std::vector<SectorSpan> spans_;
  size_t span_ = 0;   // the span being read
  int32_t next_;      // the next sector to read
  bool ended_ = false;
  std::vector<int16_t> buffer_;  // sectors read and not yet handed on
  size_t bufferOffset_ = 0;      // in samples
  std::vector<int16_t> sectorBuffer_;
  uint64_t framesBuffered_ = 0;  // frames put in the buffer since the start
  int32_t following_;            // the sector that follows the last one buffered

  mutable std::mutex marksMutex_;
  std::vector<Mark> marks_;  // in frame order; the first is the start
};

}  // namespace vellora::shell::mci
