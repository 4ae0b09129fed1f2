// An MPEG audio file decoded by libmpg123, as a sound for the output. The open command reads
// the file's format and length at once (Probe); each play is a source of its own that opens
// the file and moves to its start on its first read, on the thread that reads, so that neither
// a play nor a stop waits for the file.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "music/platform/linux/pcm_source.h"

struct mpg123_handle_struct;

namespace vellora::shell::mci {

struct Mp3Format {
  int rate = 0;
  uint64_t lengthMilliseconds = 0;
};

class Mp3Source final : public PcmSource {
 public:
  // Reads up to the file's first audio frame. On failure returns no value and sets error to an
  // MCI code.
  static std::optional<Mp3Format> Probe(const std::string& path, int32_t& error);

  // Plays the file, of the rate Probe found, from a time on (the end, for a time past it).
  Mp3Source(std::string path, int rate, uint64_t startMilliseconds);
  ~Mp3Source() override;
  Mp3Source(const Mp3Source&) = delete;
  Mp3Source& operator=(const Mp3Source&) = delete;

  int Rate() const override { return rate_; }
  size_t Read(float* frames, size_t frameCount) override;

 private:
  std::string path_;
  int rate_;
  uint64_t start_;
  bool opened_ = false;
  mpg123_handle_struct* handle_ = nullptr;  // none when the file could not be opened again
};

}  // namespace vellora::shell::mci
