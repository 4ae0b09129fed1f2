// The one audio output of the media interpreter: an SDL audio device, opened when music first
// starts, that mixes every sound playing. Each sound (a voice) reads ahead into a buffer of its
// own on a feeder thread, so a slow source such as a spinning-up CD drive never holds up the
// device's callback; the callback only mixes what is buffered and counts the frames it has
// played. The feeder reads with no lock held, so commands never wait for a slow read; it sleeps
// until a voice starts or the callback has played its buffer down to half, and a voice starts
// playing as soon as a short first read is in. Without an output device nothing can be
// played, and that stays so for the process.
#pragma once

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
  // Ends a voice at once. A read of its source under way goes on to its end on the feeder
  // thread, which then drops what it read and its hold on the source.
  void Stop(VoiceId voice);
  // Ends a voice and returns once its source is no longer read, for a source that is to be
  // used again (an audio file, whose reads are short).
  void StopAndWait(VoiceId voice);
  void SetPaused(VoiceId voice, bool paused);
  VoiceState State(VoiceId voice) const;
  // Frames of the voice that the device has taken so far.
  uint64_t FramesPlayed(VoiceId voice) const;

 private:
  struct Voice;

  static void Callback(void* self, uint8_t* stream, int length);
  void Mix(int16_t* out, size_t frameCount);
  void FeedLoop();
  // The voice whose buffer most needs reading into, or nullptr; the lock is held.
  std::shared_ptr<Voice> NextToFill() const;
  void Store(Voice& voice, const std::vector<int16_t>& chunk, size_t frames);
  // Takes a voice out of the mix; the lock is held.
  std::shared_ptr<Voice> Remove(VoiceId voice);
  Voice* Find(VoiceId voice) const;

  enum class DeviceState { Unopened, Open, Failed };
  DeviceState deviceState_ = DeviceState::Unopened;
  uint32_t device_ = 0;

  mutable std::mutex mutex_;  // guards the voices, their buffers and state; never held for a read
  std::vector<std::shared_ptr<Voice>> voices_;
  VoiceId nextVoice_ = 1;
  std::vector<int32_t> mixBuffer_;
  bool quitting_ = false;

  std::condition_variable wake_;      // the feeder has something to read, or is to end
  std::condition_variable readDone_;  // the feeder has finished a read of a voice stopped meanwhile
  std::thread feeder_;
};

}  // namespace vellora::shell::mci
