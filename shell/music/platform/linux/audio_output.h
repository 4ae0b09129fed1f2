// The one audio output of the media interpreter: an SDL audio device that mixes every sound
// playing. The device is opened at the rate of the sound that starts while nothing else plays,
// so that a sound the device takes at its own rate is played untouched; a sound at another
// rate (one that starts while the device runs at another's, or when the device refuses the
// rate) goes through a resampler of its own, one state from its first frame to its last.
//
// Each sound (a voice) reads ahead into a buffer of its own on a feeder thread, so a slow
// source such as a spinning-up CD drive never holds up the device's callback; the callback only
// mixes what is buffered, clips the mix into 16-bit samples and counts the frames it has
// played. The feeder reads with no lock held, so commands never wait for a read: a voice that
// is stopped during a read is dropped, with its source, when the read returns. The feeder
// sleeps until a voice starts or the callback has played its buffer down to half, and a voice
// starts playing as soon as its first read is in, a short one for a slow source such as the
// drive. Without an output device nothing can be played, and that stays so for the process.
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
  // With a fixed rate the device is opened at that rate alone and every other rate resampled,
  // as on a device that takes one rate only; 0 lets the device follow the sounds.
  explicit AudioOutput(int fixedRate = 0);
  ~AudioOutput();
  AudioOutput(const AudioOutput&) = delete;
  AudioOutput& operator=(const AudioOutput&) = delete;

  // Opens the device on the first call; false when there is none.
  bool Available();

  // Starts a sound; 0 when there is no output.
  VoiceId Start(std::shared_ptr<PcmSource> source);
  // Ends a voice at once, never waiting: a read of its source under way goes on to its end on
  // the feeder thread, which then drops what it read and its hold on the source.
  void Stop(VoiceId voice);
  void SetPaused(VoiceId voice, bool paused);
  VoiceState State(VoiceId voice) const;
  // Frames of the voice's own sound that the device has played so far.
  uint64_t FramesPlayed(VoiceId voice) const;
  // The device's rate now; 0 before it is open.
  int DeviceRate() const;

 private:
  struct Voice;

  static void Callback(void* self, uint8_t* stream, int length);
  // Opens the device at a rate; the feeder and the callback are not running for it.
  bool OpenDevice(int rate);
  void Mix(int16_t* out, size_t frameCount);
  void FeedLoop();
  // The voice whose buffer most needs reading into, or nullptr; the lock is held.
  std::shared_ptr<Voice> NextToFill() const;
  void Store(Voice& voice, const std::vector<float>& frames, bool ended);
  // Takes a voice out of the mix; the lock is held.
  std::shared_ptr<Voice> Remove(VoiceId voice);
  Voice* Find(VoiceId voice) const;

  enum class DeviceState { Unopened, Open, Failed };
  const int fixedRate_;
  DeviceState deviceState_ = DeviceState::Unopened;
  bool sdlStarted_ = false;
  uint32_t device_ = 0;
  int deviceRate_ = 0;  // written only while no callback runs and the lock is held

  mutable std::mutex mutex_;  // guards the voices, their buffers and state; never held for a read
  std::vector<std::shared_ptr<Voice>> voices_;
  VoiceId nextVoice_ = 1;
  std::vector<float> mixBuffer_;
  bool quitting_ = false;

  std::condition_variable wake_;  // the feeder has something to read, or is to end
  std::thread feeder_;
};

}  // namespace vellora::shell::mci
