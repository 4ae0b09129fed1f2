// The CD drive through libcdio: the system's default drive, a named device, or a disc image
// (a CUE sheet with its BIN file, or another image libcdio reads) that stands for a disc in a
// drive. The handle is shared between the command thread (status queries) and the thread that
// reads audio ahead, so every call goes through one lock.
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
  ~CdDrive();
  CdDrive(const CdDrive&) = delete;
  CdDrive& operator=(const CdDrive&) = delete;

  // Finds and opens the drive; false when there is none.
  bool Open();

  // The layout of the disc now in the drive, looked up again after the disc has changed; no
  // value when no disc can be read (an image that has gone away counts as a removed disc).
  std::optional<DiscLayout> ReadLayout();

  // Reads count audio sectors from sector on as interleaved frames; false on failure.
  bool ReadAudio(int32_t sector, uint32_t count, int16_t* frames);

 private:
  CdIo_t* OpenHandle() const;
  void CloseHandle();

  std::mutex mutex_;
  std::string source_;
  bool image_ = false;
  bool opened_ = false;
  CdIo_t* cdio_ = nullptr;
  std::optional<DiscLayout> layout_;
};

}  // namespace vellora::shell::mci
