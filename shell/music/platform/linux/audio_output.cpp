#include "music/platform/linux/audio_output.h"

#include <SDL.h>
#include <alsa/asoundlib.h>
#include <pthread.h>

#include <algorithm>
#include <cmath>

#include "music/platform/linux/resampler.h"

namespace vellora::shell::mci {
namespace {
// Sizes at 44.1 kHz, scaled to the device's rate: a second and a half read ahead, woken at
// half, a tenth of a second to start a slow source on and a third of a second a quick one,
// reads of a fifth of a second after that, and device buffers of 23 ms.
constexpr size_t kBufferFrames = 65536;
constexpr size_t kSlowFirstReadFrames = 4096;
constexpr size_t kFirstReadFrames = 16384;
constexpr size_t kReadFrames = 8192;
constexpr size_t kDeviceFrames = 1024;
constexpr int kReferenceRate = 44100;

size_t AtRate(size_t frames, int rate) {
  return static_cast<size_t>((static_cast<uint64_t>(frames) * static_cast<uint64_t>(rate) + kReferenceRate - 1) /
                             kReferenceRate);
}

// The music is silent on failure, and so is ALSA, which SDL loads: without a sound device it
// would write its complaints about the missing default device to the standard error.
void QuietAlsa(const char*, int, const char*, int, const char*, ...) {}

}  // namespace

struct AudioOutput::Voice {
  VoiceId id = 0;
  std::shared_ptr<PcmSource> source;
  std::unique_ptr<Resampler> resampler;  // when the sound's rate is not the device's
  int deviceRate = 0;                    // the device's rate while this voice plays
  size_t capacity = 0;                   // frames the buffer holds
  std::vector<float> ring;
  size_t head = 0;   // first buffered frame
  size_t count = 0;  // buffered frames
  bool primed = false;   // mixed only once its first read is in, so it starts without a gap
  bool filling = true;   // the feeder is to read into it until it is full
  bool reading = false;  // the feeder is reading its source
  bool removed = false;  // stopped; a read under way is thrown away
  bool sourceEnded = false;
  bool paused = false;
  bool finished = false;
  uint64_t framesPlayed = 0;  // at the device's rate
};

AudioOutput::AudioOutput(int fixedRate) : fixedRate_(fixedRate) {}

AudioOutput::~AudioOutput() {
  if (deviceState_ == DeviceState::Unopened) return;
  if (deviceState_ == DeviceState::Open) SDL_CloseAudioDevice(device_);  // no callback runs after this
  if (feeder_.joinable()) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      quitting_ = true;
    }
    wake_.notify_all();
    feeder_.join();  // after a read under way, if any
  }
  if (sdlStarted_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

bool AudioOutput::OpenDevice(int rate) {
  SDL_AudioSpec wanted{};
  wanted.freq = rate;
  wanted.format = AUDIO_S16SYS;
  wanted.channels = kOutputChannels;
  // The smallest power of two that lasts as long as kDeviceFrames at 44.1 kHz.
  Uint16 samples = 256;
  while (samples < AtRate(kDeviceFrames, rate) && samples < 16384) samples = static_cast<Uint16>(samples * 2);
  wanted.samples = samples;
  wanted.callback = &AudioOutput::Callback;
  wanted.userdata = this;
  SDL_AudioSpec obtained{};
  // A device that cannot take the rate says which it took, and the voices are resampled to
  // it. A format or channel count of its own SDL converts sample by sample, which needs no
  // resampling.
  const int allowed = fixedRate_ != 0 ? SDL_AUDIO_ALLOW_SAMPLES_CHANGE
                                      : SDL_AUDIO_ALLOW_FREQUENCY_CHANGE | SDL_AUDIO_ALLOW_SAMPLES_CHANGE;
  device_ = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, allowed);
  if (device_ == 0) return false;
  std::lock_guard<std::mutex> lock(mutex_);
  deviceRate_ = obtained.freq > 0 ? obtained.freq : rate;
  return true;
}

bool AudioOutput::Available() {
  if (deviceState_ == DeviceState::Unopened) {
    deviceState_ = DeviceState::Failed;
    snd_lib_error_set_handler(&QuietAlsa);
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    sdlStarted_ = true;
    if (!OpenDevice(fixedRate_ != 0 ? fixedRate_ : kReferenceRate)) return false;
    deviceState_ = DeviceState::Open;
    feeder_ = std::thread(&AudioOutput::FeedLoop, this);
    pthread_setname_np(feeder_.native_handle(), "vellora-feeder");
    SDL_PauseAudioDevice(device_, 0);
  }
  return deviceState_ == DeviceState::Open;
}

int AudioOutput::DeviceRate() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return deviceRate_;
}

AudioOutput::Voice* AudioOutput::Find(VoiceId voice) const {
  for (const auto& candidate : voices_) {
    if (candidate->id == voice) return candidate.get();
  }
  return nullptr;
}

VoiceId AudioOutput::Start(std::shared_ptr<PcmSource> source) {
  if (!source || source->Rate() <= 0 || !Available()) return 0;
  const int rate = source->Rate();
  bool idle = false;
  int current = 0;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    idle = std::all_of(voices_.begin(), voices_.end(), [](const auto& voice) { return voice->finished; });
    current = deviceRate_;
  }
  // Nothing else is heard: the device moves to this sound's rate, so that it plays untouched.
  // Commands come from one thread, so no voice starts meanwhile.
  if (fixedRate_ == 0 && idle && rate != current) {
    SDL_CloseAudioDevice(device_);
    if (!OpenDevice(rate) && !OpenDevice(current)) {
      std::lock_guard<std::mutex> lock(mutex_);
      deviceState_ = DeviceState::Failed;
      deviceRate_ = 0;
      return 0;
    }
    SDL_PauseAudioDevice(device_, 0);
  }

  auto voice = std::make_shared<Voice>();
  voice->source = std::move(source);
  VoiceId id = 0;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    voice->deviceRate = deviceRate_;
    if (rate != deviceRate_) {
      voice->resampler = std::make_unique<Resampler>(rate, deviceRate_);
      if (!voice->resampler->Usable()) return 0;
    }
    voice->capacity = AtRate(kBufferFrames, deviceRate_);
    voice->ring.assign(voice->capacity * kOutputChannels, 0.0f);
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
  std::shared_ptr<Voice> removed;  // released after the lock, with its source unless a read holds it
  std::lock_guard<std::mutex> lock(mutex_);
  removed = Remove(voice);
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
  if (found == nullptr) return 0;
  const auto rate = static_cast<uint64_t>(found->source->Rate());
  if (found->resampler == nullptr) return found->framesPlayed;
  return found->framesPlayed * rate / static_cast<uint64_t>(found->deviceRate);
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
    mixBuffer_.assign(samples, 0.0f);
    for (const auto& voice : voices_) {
      if (!voice->primed || voice->paused || voice->finished) continue;
      const size_t take = std::min(frameCount, voice->count);
      for (size_t frame = 0; frame < take; ++frame) {
        const size_t at = (voice->head + frame) % voice->capacity;
        for (int channel = 0; channel < kOutputChannels; ++channel) {
          mixBuffer_[frame * kOutputChannels + channel] += voice->ring[at * kOutputChannels + channel];
        }
      }
      voice->head = (voice->head + take) % voice->capacity;
      voice->count -= take;
      voice->framesPlayed += take;
      if (voice->count == 0 && voice->sourceEnded) voice->finished = true;
      if (!voice->filling && !voice->sourceEnded && voice->count < voice->capacity / 2) {
        voice->filling = true;
        wake = true;
      }
    }
    for (size_t i = 0; i < samples; ++i) {
      const long sample = std::lrint(mixBuffer_[i] * 32768.0f);
      out[i] = static_cast<int16_t>(std::clamp<long>(sample, INT16_MIN, INT16_MAX));
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
  std::vector<float> chunk;
  std::vector<float> converted;
  std::unique_lock<std::mutex> lock(mutex_);
  while (true) {
    std::shared_ptr<Voice> voice;
    wake_.wait(lock, [&] { return quitting_ || (voice = NextToFill()) != nullptr; });
    if (quitting_) return;
    // As many of the sound's own frames as make a read's worth at the device's rate.
    const size_t first = voice->source->SlowToRead() ? kSlowFirstReadFrames : kFirstReadFrames;
    const size_t deviceFrames = AtRate(voice->primed ? kReadFrames : first, voice->deviceRate);
    const size_t frames = static_cast<size_t>(static_cast<uint64_t>(deviceFrames) *
                                              static_cast<uint64_t>(voice->source->Rate()) /
                                              static_cast<uint64_t>(voice->deviceRate)) + 1;
    voice->reading = true;
    lock.unlock();
    chunk.resize(frames * kOutputChannels);
    const size_t got = voice->source->Read(chunk.data(), frames);
    const bool ended = got == 0;
    chunk.resize(got * kOutputChannels);
    if (voice->resampler) {
      converted.clear();
      voice->resampler->Process(chunk.data(), got, ended, converted);
      chunk.swap(converted);
    }
    lock.lock();
    voice->reading = false;
    if (voice->removed) {
      lock.unlock();
      voice.reset();  // may be the last hold on its source, which is released here
      lock.lock();
      continue;
    }
    Store(*voice, chunk, ended);
  }
}

void AudioOutput::Store(Voice& voice, const std::vector<float>& frames, bool ended) {
  voice.primed = true;
  const size_t count = std::min(frames.size() / kOutputChannels, voice.capacity - voice.count);
  for (size_t frame = 0; frame < count; ++frame) {
    const size_t at = (voice.head + voice.count + frame) % voice.capacity;
    for (int channel = 0; channel < kOutputChannels; ++channel) {
      voice.ring[at * kOutputChannels + channel] = frames[frame * kOutputChannels + channel];
    }
  }
  voice.count += count;
  if (ended) {
    voice.sourceEnded = true;
    voice.filling = false;
    if (voice.count == 0) voice.finished = true;
    return;
  }
  // Full once another read, with what a resampler may add to it, might not fit.
  if (voice.count + AtRate(kReadFrames, voice.deviceRate) + 1024 > voice.capacity) voice.filling = false;
}

}  // namespace vellora::shell::mci
