// The CD drive through libcdio: the system's default drive, a named device, or a disc image
// (a CUE sheet with its BIN file, or another image libcdio reads) that stands for a disc in a
// drive. The handle is shared between the command thread (status queries) and the thread that
// reads audio ahead. A read from a real drive can take seconds (spin-up, the drive's own
// retries), so the commands never wait for one: while a read is under way they take the layout
// last read, since the disc is evidently in the drive.
#pragma once

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>

#include "music/platform/linux/cd_time.h"

typedef struct _CdIo CdIo_t;

namespace vellora::shell::mci {

inline constexpr uint32_t kFramesPerSector = 588;  // 2352 bytes of 16-bit stereo

class CdDrive {
 public:
  // An empty source is the system's default drive.
  explicit CdDrive(std::string source);
  virtual ~CdDrive();
  CdDrive(const CdDrive&) = delete;
  CdDrive& operator=(const CdDrive&) = delete;

  // Finds and opens the drive; false when there is none. Called before anything is read.
  bool Open();

  // The layout of the disc now in the drive, looked up again after the disc has changed; no
  // value when no disc can be read (an image that has gone away counts as a removed disc, and
  // a table of contents that makes no sense as an unreadable disc). Never waits for a read.
  std::optional<DiscLayout> ReadLayout();

  // Whether a disc can still be read, after a read has failed; waits its turn at the drive.
  bool DiscPresent();

  // Reads count audio sectors from sector on as interleaved frames; false on failure.
  bool ReadAudio(int32_t sector, uint32_t count, int16_t* frames);

 protected:
  // The read itself, made with the drive held.
  virtual bool ReadSectors(CdIo_t* cdio, int32_t sector, uint32_t count, int16_t* frames);

 private:
  CdIo_t* OpenHandle() const;
  void CloseHandle();
  bool ImageGone() const;
  // Brings the handle and the layout up to date; the handle lock is held.
  void Refresh();

  std::mutex handleMutex_;  // held while libcdio is used, reads included
  std::mutex layoutMutex_;  // guards layout_, which is written with both held
  std::string source_;
  bool image_ = false;
  bool opened_ = false;
  CdIo_t* cdio_ = nullptr;
  std::optional<DiscLayout> layout_;
};

}  // namespace vellora::shell::mci
