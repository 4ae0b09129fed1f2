#include "music/platform/linux/wave_source.h"

#include <sndfile.h>

namespace vellora::shell::mci {

std::unique_ptr<WaveSource> WaveSource::Open(const std::string& path, bool loop) {
  SF_INFO info{};
  SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
  if (file == nullptr) return nullptr;
  if (info.frames <= 0 || info.channels <= 0 || info.samplerate <= 0 || info.channels > 8) {
    sf_close(file);
    return nullptr;
  }
  std::unique_ptr<WaveSource> source(new WaveSource(file, info.samplerate, info.channels, loop));
  if (!source->Usable()) return nullptr;
  return source;
}

WaveSource::WaveSource(SNDFILE* file, int rate, int channels, bool loop)
    : ConvertedSource(rate, channels), file_(file), loop_(loop) {}

WaveSource::~WaveSource() { sf_close(file_); }

size_t WaveSource::Decode(int16_t* frames, size_t frameCount) {
  size_t total = 0;
  bool rewound = false;
  while (total < frameCount) {
    const sf_count_t got = sf_readf_short(
        file_, frames + total * static_cast<size_t>(Channels()),
        static_cast<sf_count_t>(frameCount - total));
    if (got > 0) {
      total += static_cast<size_t>(got);
      rewound = false;
      continue;
    }
    // The end: a looping sound starts again, once per read that found nothing.
    if (!loop_ || rewound || sf_seek(file_, 0, SEEK_SET) != 0) break;
    rewound = true;
  }
  return total;
}

}  // namespace vellora::shell::mci
