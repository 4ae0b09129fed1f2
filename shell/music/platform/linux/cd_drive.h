// The CD drive through libcdio: the system's default drive, a named device, or a disc image
// (a CUE sheet with its BIN file, or another image libcdio reads) that stands for a disc in a
// drive. A drive can hold any call for seconds (spin-up, the drive's own retries), so the
// commands never touch it: a worker thread of the drive's own checks for a changed disc and
// reads the table of contents when asked, and the commands take the layout it last read. Audio
// is read on the output's feeder thread. Only the open waits, and only for a while, for the
// first look at the disc, as a drive's open does.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "music/platform/linux/cd_time.h"

typedef struct _CdIo CdIo_t;

namespace vellora::shell::mci {

inline constexpr uint32_t kFramesPerSector = 588;  // 2352 bytes of 16-bit stereo

// Always owned by a shared_ptr: the worker holds the drive while it looks at the disc, so a
// drive let go meanwhile is destroyed when the look is done, not while it is under way.
class CdDrive : public std::enable_shared_from_this<CdDrive> {
 public:
  // An empty source is the system's default drive.
  explicit CdDrive(std::string source);
  virtual ~CdDrive();
  CdDrive(const CdDrive&) = delete;
  CdDrive& operator=(const CdDrive&) = delete;

  // Finds and opens the drive, false when there is none, and has the worker read the disc,
  // waiting for it a few seconds at most. Called once, before anything else.
  bool Open();

  // The layout of the disc in the drive as last read; no value when no disc could be read (an
  // image that has gone away counts as a removed disc, and a table of contents that makes no
  // sense as an unreadable disc). Asks the worker to look again and never waits for it.
  std::optional<DiscLayout> ReadLayout();

  // Whether a disc can still be read, after a read has failed: looks at the drive on the
  // calling thread, after any read or look under way.
  bool DiscPresent();

  // Reads count audio sectors from sector on as interleaved frames; false on failure.
  bool ReadAudio(int32_t sector, uint32_t count, int16_t* frames);

 protected:
  // The drive's own calls, made with the drive held.
  virtual bool ReadSectors(CdIo_t* cdio, int32_t sector, uint32_t count, int16_t* frames);
  virtual bool MediaChanged(CdIo_t* cdio);
  virtual std::optional<DiscLayout> ReadToc(CdIo_t* cdio);

 private:
  struct Worker;
  static void Work(std::weak_ptr<CdDrive> drive, std::shared_ptr<Worker> worker);

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
  std::shared_ptr<Worker> worker_;
  std::thread thread_;
};

}  // namespace vellora::shell::mci
