#include "music/platform/linux/cd_audio_device.h"

#include <algorithm>

#include "music/platform/linux/mci_errors.h"

namespace vellora::shell::mci {
namespace {

const char* FormatName(TimeFormat format) {
  switch (format) {
    case TimeFormat::Milliseconds: return "milliseconds";
    case TimeFormat::Msf: return "msf";
    case TimeFormat::Tmsf: return "tmsf";
  }
  return "";
}

}  // namespace

CdAudioDevice::CdAudioDevice(std::shared_ptr<CdDrive> drive, AudioOutput& output)
    : drive_(std::move(drive)), output_(output) {}

CdAudioDevice::~CdAudioDevice() { output_.Stop(voice_); }

int32_t CdAudioDevice::CurrentSector() {
  if (voice_ != 0) return sound_->SectorReached(output_.FramesPlayed(voice_));
  return position_.value_or(0);
}

void CdAudioDevice::StopVoice() {
  if (voice_ == 0) return;
  position_ = CurrentSector();
  output_.Stop(voice_);  // a slow read under way is left to finish on the feeder
  voice_ = 0;
  sound_.reset();
}

int32_t CdAudioDevice::Execute(const Request& request, std::string& reply) {
  switch (request.verb) {
    case Verb::Play: return Play(request);
    case Verb::Stop:
      StopVoice();
      return 0;
    case Verb::Pause:
    case Verb::Resume:
      if (!drive_->ReadLayout()) return kDeviceNotReady;
      output_.SetPaused(voice_, request.verb == Verb::Pause);
      return 0;
    case Verb::Set:
      format_ = *request.timeFormat;
      return 0;
    case Verb::Status: return Status(request, reply);
    case Verb::Open:
    case Verb::Close: break;
  }
  return kUnsupportedFunction;
}

int32_t CdAudioDevice::Play(const Request& request) {
  const std::optional<DiscLayout> disc = drive_->ReadLayout();
  if (!disc) return kDeviceNotReady;
  int32_t start = std::clamp(CurrentSector(), disc->trackStarts.front(), disc->leadOut);
  // A drive that has played to the end of the disc's music starts again from its beginning.
  if (disc->AudioSpans(start, disc->leadOut).empty()) start = disc->trackStarts.front();
  if (request.from) {
    const auto from = ParsePosition(format_, *disc, *request.from);
    if (!from) return kOutOfRange;
    start = *from;
  }
  int32_t end = disc->leadOut;
  if (request.to) {
    const auto to = ParsePosition(format_, *disc, *request.to);
    if (!to) return kOutOfRange;
    end = *to;
  }
  if (start > end) return kOutOfRange;
  // A drive refuses to play a data track, and a disc with nothing else.
  if (disc->AudioSpans(disc->trackStarts.front(), disc->leadOut).empty()) return kHardware;
  if (request.from && !disc->IsAudio(disc->TrackAt(start))) return kHardware;
  if (!output_.Available()) return kWaveOutputsUnsuitable;

  std::vector<SectorSpan> spans = disc->AudioSpans(start, end);
  if (spans.empty()) spans.push_back({start, start});  // no music in the range: the play ends at once
  StopVoice();
  sound_ = std::make_shared<CdAudioSource>(drive_, std::move(spans));
  voice_ = output_.Start(sound_);
  position_ = start;
  return 0;
}

int32_t CdAudioDevice::Status(const Request& request, std::string& reply) {
  if (request.item == StatusItem::TimeFormat) {
    reply = FormatName(format_);
    return 0;
  }
  const std::optional<DiscLayout> disc = drive_->ReadLayout();
  if (!disc) {
    // No disc, or it was taken out: whatever played has ended.
    StopVoice();
    position_.reset();
  }
  switch (request.item) {
    case StatusItem::Mode:
      if (!disc) {
        reply = "not ready";
      } else if (voice_ != 0 && output_.State(voice_) == VoiceState::Playing) {
        reply = "playing";
      } else if (voice_ != 0 && output_.State(voice_) == VoiceState::Paused) {
        reply = "paused";
      } else {
        reply = "stopped";
      }
      return 0;
    case StatusItem::MediaPresent:
    case StatusItem::Ready:
      reply = disc ? "true" : "false";
      return 0;
    default: break;
  }
  if (!disc) return kDeviceNotReady;

  const int32_t current = std::clamp(CurrentSector(), disc->trackStarts.front(), disc->leadOut);
  switch (request.item) {
    case StatusItem::CurrentTrack:
      reply = std::to_string(disc->TrackAt(current));
      return 0;
    case StatusItem::NumberOfTracks:
      reply = std::to_string(disc->TrackCount());
      return 0;
    case StatusItem::Position:
      if (request.track) {
        if (!disc->HasTrack(*request.track)) return kOutOfRange;
        reply = FormatPosition(format_, *disc, disc->TrackStart(static_cast<int32_t>(*request.track)));
      } else {
        reply = FormatPosition(format_, *disc, current);
      }
      return 0;
    case StatusItem::Length:
      if (request.track) {
        if (!disc->HasTrack(*request.track)) return kOutOfRange;
        const auto track = static_cast<int32_t>(*request.track);
        reply = FormatLength(format_, disc->TrackEnd(track) - disc->TrackStart(track));
      } else {
        reply = FormatLength(format_, disc->leadOut - disc->trackStarts.front());
      }
      return 0;
    default: break;
  }
  return kUnsupportedFunction;
}

}  // namespace vellora::shell::mci
