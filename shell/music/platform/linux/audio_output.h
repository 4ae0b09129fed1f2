// The one audio output of the media interpreter: an SDL audio device, opened when music first
// starts, that mixes every sound playing. Each sound (a voice) reads ahead into a buffer of its
// own on a feeder thread, so a slow source such as a spinning-up CD drive never holds up the
// device's callback; the callback only mixes what is buffered and counts the frames it has
// played. Without an output device nothing can be played, and that stays so for the process.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "music/platform/linux/pcm_source.h"

namespace vellora::shell::mci {

using VoiceId = uint64_t;  // 0 is no voice

enum class VoiceState { None, Playing, Paused, Finished };

class AudioOutput {
 public:
  AudioOutput();
  ~AudioOutput();
  AudioOutput(const AudioOutput&) = delete;
  AudioOutput& operator=(const AudioOutput&) = delete;

  // Opens the device on the first call; false when there is none.
  bool Available();

  // Starts a sound; 0 when there is no output.
  VoiceId Start(std::shared_ptr<PcmSource> source);
  // Ends a voice. Once this returns its source is no longer read.
  void Stop(VoiceId voice);
  void SetPaused(VoiceId voice, bool paused);
  VoiceState State(VoiceId voice) const;
  // Frames of the voice that the device has taken so far.
  uint64_t FramesPlayed(VoiceId voice) const;

 private:
  struct Voice;

  static void Callback(void* self, uint8_t* stream, int length);
  void Mix(int16_t* out, size_t frameCount);
  void FeedLoop();
  bool FeedOnce();
  Voice* Find(VoiceId voice) const;

  enum class DeviceState { Unopened, Open, Failed };
  DeviceState deviceState_ = DeviceState::Unopened;
  uint32_t device_ = 0;

  std::mutex feedMutex_;         // held while sources are read, and to add or remove voices
  mutable std::mutex mixMutex_;  // guards every voice's buffer and state
  std::vector<std::unique_ptr<Voice>> voices_;
  VoiceId nextVoice_ = 1;
  std::vector<int32_t> mixBuffer_;

  std::condition_variable wake_;
  std::atomic<bool> quitting_{false};
  std::thread feeder_;
};

}  // namespace vellora::shell::mci
