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
    layout.audio.push_back(cdio_get_track_format(cdio, track) == TRACK_FORMAT_AUDIO);
  }
  layout.leadOut = cdio_get_track_lsn(cdio, CDIO_CDROM_LEADOUT_TRACK);
  if (layout.leadOut == CDIO_INVALID_LSN || !layout.Valid()) return std::nullopt;
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
  std::lock_guard<std::mutex> lock(layoutMutex_);
  layout_.reset();
}

bool CdDrive::ImageGone() const { return image_ && access(source_.c_str(), R_OK) != 0; }

bool CdDrive::Open() {
  std::lock_guard<std::mutex> lock(handleMutex_);
  cdio_log_set_handler(QuietLog);
  image_ = !source_.empty() && IsRegularFile(source_);
  CloseHandle();
  cdio_ = OpenHandle();
  opened_ = cdio_ != nullptr;
  return opened_;
}

void CdDrive::Refresh() {
  if (ImageGone()) {
    CloseHandle();  // the image is gone: the disc has been taken out
    return;
  }
  if (cdio_ != nullptr && !image_ && cdio_get_media_changed(cdio_) == 1) CloseHandle();
  if (cdio_ == nullptr) cdio_ = OpenHandle();
  // Only this thread writes the layout now, so it is read without its lock; the table of
  // contents is read without it too, so that a query meanwhile is not held up.
  if (cdio_ == nullptr || layout_) return;
  std::optional<DiscLayout> layout = ReadToc(cdio_);
  std::lock_guard<std::mutex> lock(layoutMutex_);
  layout_ = std::move(layout);
}

std::optional<DiscLayout> CdDrive::ReadLayout() {
  if (!opened_) return std::nullopt;
  std::unique_lock<std::mutex> handle(handleMutex_, std::try_to_lock);
  if (!handle.owns_lock()) {
    // A read is under way, so the disc is in the drive, unless its image has gone.
    if (ImageGone()) return std::nullopt;
    std::lock_guard<std::mutex> lock(layoutMutex_);
    return layout_;
  }
  Refresh();
  std::lock_guard<std::mutex> lock(layoutMutex_);
  return layout_;
}

bool CdDrive::DiscPresent() {
  if (!opened_) return false;
  std::lock_guard<std::mutex> handle(handleMutex_);
  Refresh();
  std::lock_guard<std::mutex> lock(layoutMutex_);
  return layout_.has_value();
}

bool CdDrive::ReadAudio(int32_t sector, uint32_t count, int16_t* frames) {
  std::lock_guard<std::mutex> lock(handleMutex_);
  if (cdio_ == nullptr) return false;
  return ReadSectors(cdio_, sector, count, frames);
}

bool CdDrive::ReadSectors(CdIo_t* cdio, int32_t sector, uint32_t count, int16_t* frames) {
  return cdio_read_audio_sectors(cdio, frames, sector, count) == DRIVER_OP_SUCCESS;
}

}  // namespace vellora::shell::mci
