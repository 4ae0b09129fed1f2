#include "music/platform/linux/audio_output.h"

#include <SDL.h>
#include <pthread.h>

#include <algorithm>

namespace vellora::shell::mci {
namespace {
constexpr size_t kBufferFrames = 65536;              // a second and a half read ahead
constexpr size_t kRefillBelow = kBufferFrames / 2;   // the feeder is woken when a buffer falls below this
constexpr size_t kFirstReadFrames = 4096;            // a tenth of a second: enough to start playing
constexpr size_t kReadFrames = 8192;                 // each read after that
constexpr Uint16 kDeviceFrames = 1024;
}  // namespace

struct AudioOutput::Voice {
  VoiceId id = 0;
  std::shared_ptr<PcmSource> source;
  std::vector<int16_t> ring = std::vector<int16_t>(kBufferFrames * kOutputChannels);
  size_t head = 0;   // first buffered frame
  size_t count = 0;  // buffered frames
  bool primed = false;   // mixed only once its first read is in, so it starts without a gap
  bool filling = true;   // the feeder is to read into it until it is full
  bool reading = false;  // the feeder is reading its source
  bool removed = false;  // stopped; a read under way is thrown away
  bool sourceEnded = false;
  bool paused = false;
  bool finished = false;
  uint64_t framesPlayed = 0;
};

AudioOutput::AudioOutput() = default;

AudioOutput::~AudioOutput() {
  if (deviceState_ != DeviceState::Open) return;
  SDL_CloseAudioDevice(device_);  // no callback runs after this
  {
    std::lock_guard<std::mutex> lock(mutex_);
    quitting_ = true;
  }
  wake_.notify_all();
  feeder_.join();  // after a read under way, if any
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

bool AudioOutput::Available() {
  if (deviceState_ == DeviceState::Unopened) {
    deviceState_ = DeviceState::Failed;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    SDL_AudioSpec wanted{};
    wanted.freq = kOutputRate;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = kOutputChannels;
    wanted.samples = kDeviceFrames;
    wanted.callback = &AudioOutput::Callback;
    wanted.userdata = this;
    SDL_AudioSpec obtained{};
    // SDL converts to whatever the hardware wants; the callback always sees this format.
    device_ = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    if (device_ == 0) {
      SDL_QuitSubSystem(SDL_INIT_AUDIO);
      return false;
    }
    deviceState_ = DeviceState::Open;
    feeder_ = std::thread(&AudioOutput::FeedLoop, this);
    pthread_setname_np(feeder_.native_handle(), "vellora-feeder");
    SDL_PauseAudioDevice(device_, 0);
  }
  return deviceState_ == DeviceState::Open;
}

AudioOutput::Voice* AudioOutput::Find(VoiceId voice) const {
  for (const auto& candidate : voices_) {
    if (candidate->id == voice) return candidate.get();
  }
  return nullptr;
}

VoiceId AudioOutput::Start(std::shared_ptr<PcmSource> source) {
  if (!source || !Available()) return 0;
  auto voice = std::make_shared<Voice>();
  voice->source = std::move(source);
  VoiceId id = 0;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    voice->id = id = nextVoice_++;
    voices_.push_back(std::move(voice));
  }
  wake_.notify_all();
  return id;
}

std::shared_ptr<AudioOutput::Voice> AudioOutput::Remove(VoiceId voice) {
  const auto found = std::find_if(voices_.begin(), voices_.end(),
                                  [voice](const auto& candidate) { return candidate->id == voice; });
  if (found == voices_.end()) return nullptr;
  std::shared_ptr<Voice> removed = std::move(*found);
  voices_.erase(found);
  removed->removed = true;
  return removed;
}

void AudioOutput::Stop(VoiceId voice) {
  if (voice == 0) return;
  std::shared_ptr<Voice> removed;  // released outside the lock, with its source
  std::lock_guard<std::mutex> lock(mutex_);
  removed = Remove(voice);
}

void AudioOutput::StopAndWait(VoiceId voice) {
  if (voice == 0) return;
  std::shared_ptr<Voice> removed;
  std::unique_lock<std::mutex> lock(mutex_);
  removed = Remove(voice);
  if (removed) readDone_.wait(lock, [&removed] { return !removed->reading; });
}

void AudioOutput::SetPaused(VoiceId voice, bool paused) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (Voice* found = Find(voice)) found->paused = paused;
}

VoiceState AudioOutput::State(VoiceId voice) const {
  std::lock_guard<std::mutex> lock(mutex_);
  const Voice* found = Find(voice);
  if (found == nullptr) return VoiceState::None;
  if (found->finished) return VoiceState::Finished;
  return found->paused ? VoiceState::Paused : VoiceState::Playing;
}

uint64_t AudioOutput::FramesPlayed(VoiceId voice) const {
  std::lock_guard<std::mutex> lock(mutex_);
  const Voice* found = Find(voice);
  return found == nullptr ? 0 : found->framesPlayed;
}

void AudioOutput::Callback(void* self, uint8_t* stream, int length) {
  const size_t frameBytes = sizeof(int16_t) * kOutputChannels;
  static_cast<AudioOutput*>(self)->Mix(reinterpret_cast<int16_t*>(stream),
                                       static_cast<size_t>(length) / frameBytes);
}

void AudioOutput::Mix(int16_t* out, size_t frameCount) {
  const size_t samples = frameCount * kOutputChannels;
  bool wake = false;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    mixBuffer_.assign(samples, 0);
    for (const auto& voice : voices_) {
      if (!voice->primed || voice->paused || voice->finished) continue;
      const size_t take = std::min(frameCount, voice->count);
      for (size_t frame = 0; frame < take; ++frame) {
        const size_t at = (voice->head + frame) % kBufferFrames;
        for (int channel = 0; channel < kOutputChannels; ++channel) {
          mixBuffer_[frame * kOutputChannels + channel] += voice->ring[at * kOutputChannels + channel];
        }
      }
      voice->head = (voice->head + take) % kBufferFrames;
      voice->count -= take;
      voice->framesPlayed += take;
      if (voice->count == 0 && voice->sourceEnded) voice->finished = true;
      if (!voice->filling && !voice->sourceEnded && voice->count < kRefillBelow) {
        voice->filling = true;
        wake = true;
      }
    }
    for (size_t i = 0; i < samples; ++i) {
      out[i] = static_cast<int16_t>(std::clamp<int32_t>(mixBuffer_[i], INT16_MIN, INT16_MAX));
    }
  }
  if (wake) wake_.notify_one();
}

std::shared_ptr<AudioOutput::Voice> AudioOutput::NextToFill() const {
  std::shared_ptr<Voice> next;
  for (const auto& voice : voices_) {
    if (!voice->filling || voice->sourceEnded) continue;
    if (!next || voice->count < next->count) next = voice;
  }
  return next;
}

void AudioOutput::FeedLoop() {
  std::vector<int16_t> chunk;
  std::unique_lock<std::mutex> lock(mutex_);
  while (true) {
    std::shared_ptr<Voice> voice;
    wake_.wait(lock, [&] { return quitting_ || (voice = NextToFill()) != nullptr; });
    if (quitting_) return;
    const size_t frames = voice->primed ? kReadFrames : kFirstReadFrames;
    voice->reading = true;
    lock.unlock();
    chunk.resize(frames * kOutputChannels);
    const size_t got = voice->source->Read(chunk.data(), frames);
    lock.lock();
    voice->reading = false;
    if (voice->removed) {
      readDone_.notify_all();
      lock.unlock();
      voice.reset();  // may be the last hold on its source, which is released here
      lock.lock();
      continue;
    }
    Store(*voice, chunk, got);
  }
}

void AudioOutput::Store(Voice& voice, const std::vector<int16_t>& chunk, size_t frames) {
  voice.primed = true;
  if (frames == 0) {
    voice.sourceEnded = true;
    voice.filling = false;
    if (voice.count == 0) voice.finished = true;
    return;
  }
  for (size_t frame = 0; frame < frames; ++frame) {
    const size_t at = (voice.head + voice.count + frame) % kBufferFrames;
    for (int channel = 0; channel < kOutputChannels; ++channel) {
      voice.ring[at * kOutputChannels + channel] = chunk[frame * kOutputChannels + channel];
    }
  }
  voice.count += frames;
  if (voice.count + kReadFrames > kBufferFrames) voice.filling = false;
}

}  // namespace vellora::shell::mci
