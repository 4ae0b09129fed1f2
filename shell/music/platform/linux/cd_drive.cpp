#include "music/platform/linux/cd_drive.h"

#include <cdio/cdio.h>
#include <cdio/logging.h>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>

namespace vellora::shell::mci {
namespace {

// How long the open waits for the first look at the disc: a drive spinning up answers within
// this; a slower one is "not ready" until the worker has read it.
constexpr std::chrono::seconds kFirstLookWait{3};

// The music is silent on failure, and so is libcdio.
void QuietLog(cdio_log_level_t, const char*) {}

bool IsRegularFile(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace

struct CdDrive::Worker {
  std::mutex mutex;
  std::condition_variable wake;  // a look is wanted, or the worker is to end
  std::condition_variable done;  // a look has been made
  bool wanted = false;
  bool quit = false;
  uint64_t looks = 0;
};

CdDrive::CdDrive(std::string source) : source_(std::move(source)) {}

CdDrive::~CdDrive() {
  if (worker_) {
    {
      std::lock_guard<std::mutex> lock(worker_->mutex);
      worker_->quit = true;
    }
    worker_->wake.notify_all();
    // Let go of last by the worker itself, after a look: it ends on its own.
    if (thread_.get_id() == std::this_thread::get_id()) {
      thread_.detach();
    } else {
      thread_.join();  // it is waiting for work, not looking: a look holds the drive
    }
  }
  CloseHandle();
}

void CdDrive::Work(std::weak_ptr<CdDrive> drive, std::shared_ptr<Worker> worker) {
  while (true) {
    {
      std::unique_lock<std::mutex> lock(worker->mutex);
      worker->wake.wait(lock, [&] { return worker->quit || worker->wanted; });
      if (worker->quit) return;
      worker->wanted = false;
    }
    if (std::shared_ptr<CdDrive> self = drive.lock()) {
      std::lock_guard<std::mutex> handle(self->handleMutex_);
      self->Refresh();
    }
    {
      std::lock_guard<std::mutex> lock(worker->mutex);
      ++worker->looks;
    }
    worker->done.notify_all();
  }
}

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
  {
    std::lock_guard<std::mutex> lock(handleMutex_);
    cdio_log_set_handler(QuietLog);
    image_ = !source_.empty() && IsRegularFile(source_);
    CloseHandle();
    cdio_ = OpenHandle();
    opened_ = cdio_ != nullptr;
  }
  if (!opened_ || worker_) return opened_;
  worker_ = std::make_shared<Worker>();
  worker_->wanted = true;
  thread_ = std::thread(&CdDrive::Work, weak_from_this(), worker_);
  pthread_setname_np(thread_.native_handle(), "vellora-cd");
  std::unique_lock<std::mutex> lock(worker_->mutex);
  worker_->done.wait_for(lock, kFirstLookWait, [this] { return worker_->looks > 0; });
  return true;
}

void CdDrive::Refresh() {
  if (ImageGone()) {
    CloseHandle();  // the image is gone: the disc has been taken out
    return;
  }
  if (cdio_ != nullptr && MediaChanged(cdio_)) CloseHandle();
  if (cdio_ == nullptr) cdio_ = OpenHandle();
  // Whoever writes the layout holds the drive as well, so it is read here without its lock;
  // the table of contents is read without it too, so that a query meanwhile is not held up.
  if (cdio_ == nullptr || layout_) return;
  std::optional<DiscLayout> layout = ReadToc(cdio_);
  std::lock_guard<std::mutex> lock(layoutMutex_);
  layout_ = std::move(layout);
}

std::optional<DiscLayout> CdDrive::ReadLayout() {
  if (!opened_) return std::nullopt;
  {
    std::lock_guard<std::mutex> lock(worker_->mutex);
    worker_->wanted = true;
  }
  worker_->wake.notify_one();
  // An image file that has gone is a disc taken out, seen at once without the drive.
  if (ImageGone()) return std::nullopt;
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

bool CdDrive::MediaChanged(CdIo_t* cdio) { return !image_ && cdio_get_media_changed(cdio) == 1; }

std::optional<DiscLayout> CdDrive::ReadToc(CdIo_t* cdio) {
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

}  // namespace vellora::shell::mci
