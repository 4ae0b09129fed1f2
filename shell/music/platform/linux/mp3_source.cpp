#include "music/platform/linux/mp3_source.h"

#include <mpg123.h>
#include <sys/stat.h>

#include <mutex>

#include "music/platform/linux/mci_errors.h"

namespace vellora::shell::mci {

std::unique_ptr<Mp3Source> Mp3Source::Open(const std::string& path, int32_t& error) {
  static std::once_flag initialised;
  std::call_once(initialised, [] { mpg123_init(); });

  struct stat info {};
  if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
    error = kFileNotFound;
    return nullptr;
  }
  mpg123_handle* handle = mpg123_new(nullptr, nullptr);
  if (handle == nullptr) {
    error = kOutOfMemory;
    return nullptr;
  }
  // Quiet, gapless, two channels at the file's own rate; the rest is left to the converter.
  // A file whose first 4 KiB hold no MPEG audio is not one.
  mpg123_param(handle, MPG123_ADD_FLAGS, MPG123_QUIET | MPG123_GAPLESS | MPG123_FORCE_STEREO, 0);
  mpg123_param(handle, MPG123_RESYNC_LIMIT, 4096, 0);
  long rate = 0;
  int channels = 0;
  int encoding = 0;
  if (mpg123_open(handle, path.c_str()) != MPG123_OK ||
      mpg123_getformat(handle, &rate, &channels, &encoding) != MPG123_OK) {
    mpg123_delete(handle);
    error = kInvalidFile;
    return nullptr;
  }
  // From here on the decoder looks for the next good frame past damaged data of any length (to
  // the end of the file at most), so a broken stretch is skipped, not taken for the end.
  mpg123_param(handle, MPG123_RESYNC_LIMIT, -1, 0);
  // Fix the format found, as 16-bit samples.
  mpg123_format_none(handle);
  mpg123_format(handle, rate, channels, MPG123_ENC_SIGNED_16);
  std::unique_ptr<Mp3Source> source(new Mp3Source(handle, static_cast<int>(rate), channels));
  if (!source->Usable()) {
    error = kInvalidFile;
    return nullptr;
  }
  error = 0;
  return source;
}

Mp3Source::Mp3Source(mpg123_handle* handle, int rate, int channels)
    : ConvertedSource(rate, channels), handle_(handle) {}

Mp3Source::~Mp3Source() {
  mpg123_close(handle_);
  mpg123_delete(handle_);
}

uint64_t Mp3Source::LengthMilliseconds() const {
  const off_t samples = mpg123_length(handle_);
  if (samples <= 0 || Rate() <= 0) return 0;
  return static_cast<uint64_t>(samples) * 1000 / static_cast<uint64_t>(Rate());
}

void Mp3Source::SeekMilliseconds(uint64_t milliseconds) {
  const uint64_t sample = milliseconds * static_cast<uint64_t>(Rate()) / 1000;
  mpg123_seek(handle_, static_cast<off_t>(sample), SEEK_SET);
  DiscardPending();
}

size_t Mp3Source::Decode(int16_t* frames, size_t frameCount) {
  const size_t frameBytes = sizeof(int16_t) * static_cast<size_t>(Channels());
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
