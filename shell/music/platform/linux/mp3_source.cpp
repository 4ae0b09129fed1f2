#include "music/platform/linux/mp3_source.h"

#include <mpg123.h>
#include <sys/stat.h>

#include <mutex>

#include "music/platform/linux/mci_errors.h"

namespace vellora::shell::mci {
namespace {

// Opens a decoder on the file, read up to its first audio frame and set to give stereo floats
// at the file's rate; nullptr and an MCI code on failure.
mpg123_handle* OpenDecoder(const std::string& path, long& rate, int32_t& error) {
  static std::once_flag initialised;
  std::call_once(initialised, [] { mpg123_init(); });
  mpg123_handle* handle = mpg123_new(nullptr, nullptr);
  if (handle == nullptr) {
    error = kOutOfMemory;
    return nullptr;
  }
  // Quiet, gapless, two channels of floats at the file's own rate, so that the sound is rounded
  // to the output's samples once, after any resampling. A file whose first 4 KiB hold no MPEG
  // audio is not one.
  mpg123_param(handle, MPG123_ADD_FLAGS, MPG123_QUIET | MPG123_GAPLESS | MPG123_FORCE_STEREO, 0);
  mpg123_param(handle, MPG123_RESYNC_LIMIT, 4096, 0);
  mpg123_format_none(handle);
  const long* rates = nullptr;
  size_t rateCount = 0;
  mpg123_rates(&rates, &rateCount);
  for (size_t i = 0; i < rateCount; ++i) mpg123_format(handle, rates[i], MPG123_STEREO, MPG123_ENC_FLOAT_32);
  int channels = 0;
  int encoding = 0;
  if (mpg123_open(handle, path.c_str()) != MPG123_OK ||
      mpg123_getformat(handle, &rate, &channels, &encoding) != MPG123_OK || rate <= 0 ||
      channels != kOutputChannels || encoding != MPG123_ENC_FLOAT_32) {
    mpg123_delete(handle);
    error = kInvalidFile;
    return nullptr;
  }
  // From here on the decoder looks for the next good frame past damaged data of any length (to
  // the end of the file at most), so a broken stretch is skipped, not taken for the end.
  mpg123_param(handle, MPG123_RESYNC_LIMIT, -1, 0);
  error = 0;
  return handle;
}

void CloseDecoder(mpg123_handle* handle) {
  mpg123_close(handle);
  mpg123_delete(handle);
}

}  // namespace

std::optional<Mp3Format> Mp3Source::Probe(const std::string& path, int32_t& error) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
    error = kFileNotFound;
    return std::nullopt;
  }
  long rate = 0;
  mpg123_handle* handle = OpenDecoder(path, rate, error);
  if (handle == nullptr) return std::nullopt;
  Mp3Format format;
  format.rate = static_cast<int>(rate);
  const off_t samples = mpg123_length(handle);
  if (samples > 0) format.lengthMilliseconds = static_cast<uint64_t>(samples) * 1000 / static_cast<uint64_t>(rate);
  CloseDecoder(handle);
  return format;
}

Mp3Source::Mp3Source(std::string path, int rate, uint64_t startMilliseconds)
    : path_(std::move(path)), rate_(rate), start_(startMilliseconds) {}

Mp3Source::~Mp3Source() {
  if (handle_ != nullptr) CloseDecoder(handle_);
}

size_t Mp3Source::Read(float* frames, size_t frameCount) {
  if (!opened_) {
    opened_ = true;
    long rate = 0;
    int32_t error = 0;
    handle_ = OpenDecoder(path_, rate, error);
    // A file that has changed its rate since it was opened as a device ends the play.
    if (handle_ != nullptr && rate != rate_) {
      CloseDecoder(handle_);
      handle_ = nullptr;
    }
    if (handle_ != nullptr && start_ > 0) {
      mpg123_seek(handle_, static_cast<off_t>(start_ * static_cast<uint64_t>(rate_) / 1000), SEEK_SET);
    }
  }
  if (handle_ == nullptr) return 0;
  const size_t frameBytes = sizeof(float) * kOutputChannels;
  unsigned char* out = reinterpret_cast<unsigned char*>(frames);
  size_t total = 0;
  // A read may give fewer bytes than asked (or none, when the format is announced); keep
  // reading until the buffer is full or the stream is done.
  while (total < frameCount * frameBytes) {
    size_t done = 0;
    const int result = mpg123_read(handle_, out + total, frameCount * frameBytes - total, &done);
    total += done;
    if (result == MPG123_NEW_FORMAT) continue;
    if (result != MPG123_OK || done == 0) break;
  }
  return total / frameBytes;
}

}  // namespace vellora::shell::mci
