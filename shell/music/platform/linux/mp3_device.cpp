#include "music/platform/linux/mp3_device.h"

#include <algorithm>

#include "music/platform/linux/mci_errors.h"

namespace vellora::shell::mci {
namespace {

std::optional<uint64_t> ParseMilliseconds(const std::string& text) {
  if (text.empty() || text.size() > 12) return std::nullopt;
  uint64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<uint64_t>(c - '0');
  }
  return value;
}

// Stops the source after a given number of output frames, for "play ... to".
class LimitedSource final : public PcmSource {
 public:
  LimitedSource(std::shared_ptr<PcmSource> source, uint64_t frames)
      : source_(std::move(source)), left_(frames) {}
  int Rate() const override { return source_->Rate(); }
  size_t Read(float* frames, size_t frameCount) override {
    const size_t got = source_->Read(frames, static_cast<size_t>(std::min<uint64_t>(frameCount, left_)));
    left_ -= got;
    return got;
  }

 private:
  std::shared_ptr<PcmSource> source_;
  uint64_t left_;
};

}  // namespace

Mp3Device::Mp3Device(std::string path, const Mp3Format& format, AudioOutput& output)
    : path_(std::move(path)), rate_(format.rate), output_(output), length_(format.lengthMilliseconds) {}

Mp3Device::~Mp3Device() { output_.Stop(voice_); }

uint64_t Mp3Device::CurrentMilliseconds() const {
  if (voice_ == 0) return position_;
  if (output_.State(voice_) == VoiceState::Finished) return playEnd_;
  const uint64_t played = output_.FramesPlayed(voice_) * 1000 / static_cast<uint64_t>(rate_);
  return std::min(playStart_ + played, playEnd_);
}

void Mp3Device::StopVoice() {
  if (voice_ == 0) return;
  position_ = CurrentMilliseconds();
  output_.Stop(voice_);  // a read under way finishes on the feeder, into nothing
  voice_ = 0;
}

int32_t Mp3Device::Execute(const Request& request, std::string& reply) {
  switch (request.verb) {
    case Verb::Play: return Play(request);
    case Verb::Stop:
      StopVoice();
      return 0;
    case Verb::Pause:
    case Verb::Resume:
      output_.SetPaused(voice_, request.verb == Verb::Pause);
      return 0;
    case Verb::Set:
      // Times of an audio file are milliseconds only.
      return *request.timeFormat == TimeFormat::Milliseconds ? 0 : kBadTimeFormat;
    case Verb::Status:
      switch (request.item) {
        case StatusItem::Mode: {
          const VoiceState state = voice_ == 0 ? VoiceState::None : output_.State(voice_);
          reply = state == VoiceState::Playing  ? "playing"
                  : state == VoiceState::Paused ? "paused"
                                                : "stopped";
          return 0;
        }
        case StatusItem::Position:
          if (request.track) return kUnsupportedFunction;
          reply = std::to_string(CurrentMilliseconds());
          return 0;
        case StatusItem::Length:
          if (request.track) return kUnsupportedFunction;
          reply = std::to_string(length_);
          return 0;
        case StatusItem::MediaPresent:
        case StatusItem::Ready:
          reply = "true";
          return 0;
        case StatusItem::TimeFormat:
          reply = "milliseconds";
          return 0;
        default: return kUnsupportedFunction;
      }
    case Verb::Open:
    case Verb::Close: break;
  }
  return kUnsupportedFunction;
}

int32_t Mp3Device::Play(const Request& request) {
  uint64_t start = CurrentMilliseconds();
  if (request.from) {
    const auto from = ParseMilliseconds(*request.from);
    if (!from || *from > length_) return kOutOfRange;
    start = *from;
  }
  uint64_t end = length_;
  if (request.to) {
    const auto to = ParseMilliseconds(*request.to);
    if (!to || *to > length_) return kOutOfRange;
    end = *to;
  }
  if (start > end) return kOutOfRange;
  if (!output_.Available()) return kWaveOutputsUnsuitable;

  StopVoice();
  std::shared_ptr<PcmSource> sound = std::make_shared<Mp3Source>(path_, rate_, start);
  if (request.to) sound = std::make_shared<LimitedSource>(sound, (end - start) * static_cast<uint64_t>(rate_) / 1000);
  voice_ = output_.Start(sound);
  playStart_ = start;
  playEnd_ = end;
  position_ = start;
  return 0;
}

}  // namespace vellora::shell::mci
