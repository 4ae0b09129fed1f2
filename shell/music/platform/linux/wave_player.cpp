#include "music/platform/linux/wave_player.h"

#include <chrono>
#include <thread>

#include "music/media_interface.h"
#include "music/platform/linux/wave_source.h"

namespace vellora::shell::mci {
namespace {
// Flags that name something other than a file: a sound alias, a resource, a memory image.
constexpr uint32_t kSoundNotAFile = 0x00010000 | 0x00040004 | 0x00110000 | 0x0004;
}

WavePlayer::~WavePlayer() { output_.Stop(voice_); }

int32_t WavePlayer::Play(const std::string* path, uint32_t flags) {
  // Any call stops the sound that is playing.
  output_.Stop(voice_);
  voice_ = 0;
  if (path == nullptr) return 1;

  const bool async = (flags & kSoundAsync) != 0;
  const bool loop = (flags & kSoundLoop) != 0;
  if ((flags & kSoundNotAFile) != 0 || (loop && !async)) return 0;
  std::shared_ptr<WaveSource> source = WaveSource::Open(*path, loop);
  if (!source) return 0;
  voice_ = output_.Start(std::move(source));
  if (voice_ == 0) return 0;
  if (!async) {
    while (output_.State(voice_) == VoiceState::Playing) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    output_.Stop(voice_);
    voice_ = 0;
  }
  return 1;
}

}  // namespace vellora::shell::mci
