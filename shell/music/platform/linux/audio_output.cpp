#include "music/platform/linux/audio_output.h"

#include <SDL.h>

#include <algorithm>
#include <chrono>

namespace vellora::shell::mci {
namespace {
constexpr size_t kBufferFrames = 32768;  // three quarters of a second read ahead
constexpr size_t kFeedMinimumFrames = 1024;  // less room than this waits for the next round
constexpr auto kFeedInterval = std::chrono::milliseconds(10);
constexpr Uint16 kDeviceFrames = 1024;
}  // namespace

struct AudioOutput::Voice {
  VoiceId id = 0;
  std::shared_ptr<PcmSource> source;
  std::vector<int16_t> ring = std::vector<int16_t>(kBufferFrames * kOutputChannels);
  size_t head = 0;   // first buffered frame
  size_t count = 0;  // buffered frames
  bool primed = false;  // mixed only once its first read is in, so it starts without a gap
  bool sourceEnded = false;
  bool paused = false;
  bool finished = false;
  uint64_t framesPlayed = 0;
};

AudioOutput::AudioOutput() = default;

AudioOutput::~AudioOutput() {
  if (deviceState_ != DeviceState::Open) return;
  SDL_CloseAudioDevice(device_);  // no callback runs after this
  quitting_ = true;
  {
    std::lock_guard<std::mutex> lock(feedMutex_);
    wake_.notify_all();
  }
  feeder_.join();
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
  auto voice = std::make_unique<Voice>();
  voice->source = std::move(source);
  std::lock_guard<std::mutex> feedLock(feedMutex_);
  std::lock_guard<std::mutex> mixLock(mixMutex_);
  voice->id = nextVoice_++;
  const VoiceId id = voice->id;
  voices_.push_back(std::move(voice));
  wake_.notify_all();
  return id;
}

void AudioOutput::Stop(VoiceId voice) {
  if (voice == 0) return;
  std::unique_ptr<Voice> removed;  // its source is released outside the locks
  std::lock_guard<std::mutex> feedLock(feedMutex_);
  {
    std::lock_guard<std::mutex> mixLock(mixMutex_);
    const auto found = std::find_if(voices_.begin(), voices_.end(),
                                    [voice](const auto& candidate) { return candidate->id == voice; });
    if (found == voices_.end()) return;
    removed = std::move(*found);
    voices_.erase(found);
  }
}

void AudioOutput::SetPaused(VoiceId voice, bool paused) {
  std::lock_guard<std::mutex> lock(mixMutex_);
  if (Voice* found = Find(voice)) found->paused = paused;
}

VoiceState AudioOutput::State(VoiceId voice) const {
  std::lock_guard<std::mutex> lock(mixMutex_);
  const Voice* found = Find(voice);
  if (found == nullptr) return VoiceState::None;
  if (found->finished) return VoiceState::Finished;
  return found->paused ? VoiceState::Paused : VoiceState::Playing;
}

uint64_t AudioOutput::FramesPlayed(VoiceId voice) const {
  std::lock_guard<std::mutex> lock(mixMutex_);
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
  std::lock_guard<std::mutex> lock(mixMutex_);
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
  }
  for (size_t i = 0; i < samples; ++i) {
    out[i] = static_cast<int16_t>(std::clamp<int32_t>(mixBuffer_[i], INT16_MIN, INT16_MAX));
  }
}

void AudioOutput::FeedLoop() {
  std::unique_lock<std::mutex> lock(feedMutex_);
  while (!quitting_) {
    if (FeedOnce()) {
      // Let a waiting Start or Stop in before the next round.
      lock.unlock();
      std::this_thread::yield();
      lock.lock();
    } else {
      wake_.wait_for(lock, kFeedInterval);
    }
  }
}

// Tops up every voice's buffer once, with the feed lock held. True when a voice still has room.
bool AudioOutput::FeedOnce() {
  std::vector<std::pair<Voice*, size_t>> wanted;
  {
    std::lock_guard<std::mutex> lock(mixMutex_);
    for (const auto& voice : voices_) {
      if (voice->sourceEnded || voice->finished) continue;
      const size_t room = kBufferFrames - voice->count;
      if (room >= kFeedMinimumFrames) wanted.emplace_back(voice.get(), room);
    }
  }
  bool more = false;
  std::vector<int16_t> chunk;
  for (auto& [voice, frames] : wanted) {
    chunk.resize(frames * kOutputChannels);
    const size_t got = voice->source->Read(chunk.data(), frames);
    std::lock_guard<std::mutex> lock(mixMutex_);
    voice->primed = true;
    if (got == 0) {
      voice->sourceEnded = true;
      if (voice->count == 0) voice->finished = true;
      continue;
    }
    for (size_t frame = 0; frame < got; ++frame) {
      const size_t at = (voice->head + voice->count + frame) % kBufferFrames;
      for (int channel = 0; channel < kOutputChannels; ++channel) {
        voice->ring[at * kOutputChannels + channel] = chunk[frame * kOutputChannels + channel];
      }
    }
    voice->count += got;
    more = more || voice->count + kFeedMinimumFrames <= kBufferFrames;
  }
  return more;
}

}  // namespace vellora::shell::mci
