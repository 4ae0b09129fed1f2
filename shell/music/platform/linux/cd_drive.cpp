#include "music/platform/linux/cd_drive.h"

#include <cdio/cdio.h>
#include <cdio/logging.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vellora::shell::mci {
namespace {

// The music is silent on failure, and so is libcdio.
void QuietLog(cdio_log_level_t, const char*) {}

bool IsRegularFile(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::optional<DiscLayout> ReadToc(CdIo_t* cdio) {
  const track_t first = cdio_get_first_track_num(cdio);
  const track_t count = cdio_get_num_tracks(cdio);
  if (first == CDIO_INVALID_TRACK || count == CDIO_INVALID_TRACK || count == 0) {
    return std::nullopt;
  }
  DiscLayout layout;
  layout.firstTrack = first;
  for (track_t track = first; track < first + count; ++track) {
    const lsn_t start = cdio_get_track_lsn(cdio, track);
    if (start == CDIO_INVALID_LSN) return std::nullopt;
    layout.trackStarts.push_back(start);
  }
  layout.leadOut = cdio_get_track_lsn(cdio, CDIO_CDROM_LEADOUT_TRACK);
  if (layout.leadOut == CDIO_INVALID_LSN || layout.leadOut < layout.trackStarts.back()) {
    return std::nullopt;
  }
  return layout;
}

}  // namespace

CdDrive::CdDrive(std::string source) : source_(std::move(source)) {}

CdDrive::~CdDrive() { CloseHandle(); }

CdIo_t* CdDrive::OpenHandle() const {
  return image_ ? cdio_open(source_.c_str(), DRIVER_UNKNOWN)
                : cdio_open(source_.empty() ? nullptr : source_.c_str(), DRIVER_DEVICE);
}

void CdDrive::CloseHandle() {
  if (cdio_ != nullptr) cdio_destroy(cdio_);
  cdio_ = nullptr;
  layout_.reset();
}

bool CdDrive::Open() {
  std::lock_guard<std::mutex> lock(mutex_);
  cdio_log_set_handler(QuietLog);
  image_ = !source_.empty() && IsRegularFile(source_);
  CloseHandle();
  cdio_ = OpenHandle();
  opened_ = cdio_ != nullptr;
  return opened_;
}

std::optional<DiscLayout> CdDrive::ReadLayout() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!opened_) return std::nullopt;
  if (image_ && access(source_.c_str(), R_OK) != 0) {
    CloseHandle();  // the image is gone: the disc has been taken out
    return std::nullopt;
  }
  if (cdio_ == nullptr) {
    cdio_ = OpenHandle();
    if (cdio_ == nullptr) return std::nullopt;
  } else if (!image_ && cdio_get_media_changed(cdio_) == 1) {
    CloseHandle();
    cdio_ = OpenHandle();
    if (cdio_ == nullptr) return std::nullopt;
  }
  if (!layout_) layout_ = ReadToc(cdio_);
  return layout_;
}

bool CdDrive::ReadAudio(int32_t sector, uint32_t count, int16_t* frames) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (cdio_ == nullptr) return false;
  return cdio_read_audio_sectors(cdio_, frames, sector, count) == DRIVER_OP_SUCCESS;
}

}  // namespace vellora::shell::mci
