// An MPEG audio file decoded by libmpg123, as a sound for the output.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "music/platform/linux/converted_source.h"

struct mpg123_handle_struct;

namespace vellora::shell::mci {

class Mp3Source final : public ConvertedSource {
 public:
  // Opens the file and reads up to its first audio frame. On failure returns nullptr and sets
  // error to an MCI code.
  static std::unique_ptr<Mp3Source> Open(const std::string& path, int32_t& error);
  ~Mp3Source() override;

  uint64_t LengthMilliseconds() const;
  // Moves the decoder to a time from the start; a time past the end moves it to the end.
  void SeekMilliseconds(uint64_t milliseconds);

 private:
  Mp3Source(mpg123_handle_struct* handle, int rate, int channels);
  size_t Decode(int16_t* frames, size_t frameCount) override;

  mpg123_handle_struct* handle_;
};

}  // namespace vellora::shell::mci
