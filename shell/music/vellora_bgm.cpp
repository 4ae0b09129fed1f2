#include "music/vellora_bgm.h"

#include <optional>

#include "common/number_conversions.h"
#include "settings/settings_variables.h"

namespace vellora::shell {
namespace {

constexpr int16_t kTrue = -1;
constexpr int16_t kFalse = 0;

// Reply texts are taken up to their first NUL character.
std::string UpToFirstNul(std::string text) {
  const size_t nul = text.find('\0');
  if (nul != std::string::npos) text.resize(nul);
  return text;
}

// True when the reply, upper-cased, contains "ERR"; every "Error:" reply of MciQuery does.
bool ContainsErr(std::string_view reply) {
  std::string upper(reply);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return upper.find("ERR") != std::string::npos;
}

bool StartsWith(std::string_view text, std::string_view start) {
  return text.substr(0, start.size()) == start;
}

}  // namespace

VelloraBgm::VelloraBgm(MediaInterface& media) : media_(media) {}

int32_t VelloraBgm::SendWithoutReply(std::string_view command) {
  std::string ignored;
  return media_.SendCommand(command, 0, ignored);
}

void VelloraBgm::OpenCdAudio() {
  ApiResult = SendWithoutReply("open cdaudio");
  ApiResult = SendWithoutReply("set cdaudio time format tmsf");
}

void VelloraBgm::CloseCdAudio() {
  ApiResult = SendWithoutReply("stop cdaudio");
  ApiResult = SendWithoutReply("close cdaudio");
}

int32_t VelloraBgm::SendMciCommand(std::string_view command, std::string& resultText) {
  if (command.empty()) {
    resultText = kMciEmptyCommandText;
    return kMciEmptyCommandCode;
  }
  std::string reply;
  const int32_t code = media_.SendCommand(command, kMciReplyBufferLength, reply);
  ApiResult = code;
  if (code == 0) {
    resultText = UpToFirstNul(std::move(reply));
    return 0;
  }
  std::string errorText;
  if (media_.GetErrorText(code, kMciErrorBufferLength, errorText)) {
    resultText = UpToFirstNul(std::move(errorText));
  } else {
    resultText = kMciNoErrorText;
  }
  return code;
}

std::string VelloraBgm::MciQuery(std::string_view command) {
  const int32_t code = SendMciCommand(command, mciReplyText_);
  ApiResult = code;
  if (code == 0) return mciReplyText_;
  return "Error:" + std::to_string(code);
}

int32_t VelloraBgm::MciPlay(std::string_view device, std::string_view from, std::string_view to) {
  std::string command = "play ";
  command += device;
  if (!from.empty()) {
    command += " from ";
    command += from;
  }
  if (!to.empty()) {
    command += " to ";
    command += to;
  }
  return SendMciCommand(command, mciReplyText_);
}

void VelloraBgm::PollCdAudio() {
  cdPollActive_ = kTrue;
  // Anything that goes wrong inside the poll ends it and switches the polling off.
  try {
    if (!PollCdAudioSteps()) cdPollActive_ = kFalse;
  } catch (...) {
    cdPollActive_ = kFalse;
  }
}

// One poll; false when it failed.
bool VelloraBgm::PollCdAudioSteps() {
  const std::string track = MciQuery("status cdaudio current track");
  if (ContainsErr(track)) return false;
  if (ContainsErr(MciQuery("status cdaudio number of tracks"))) return false;

  std::string reply;
  const int32_t code = media_.SendCommand("status cdaudio mode", kCdModeBufferLength, reply);
  ApiResult = code;
  if (code == 0) cdModeBuffer_ = UpToFirstNul(std::move(reply));  // a failed query keeps it
  const std::string_view mode = std::string_view(cdModeBuffer_).substr(0, 7);

  if (BgmRepeatTrack != 0) {
    // The track is compared as a number whatever the mode; a reply that is not one is an
    // error of the poll.
    const std::optional<double> current = NumericTextValue(track);
    if (!current) return false;
    if (mode == "stopped" || *current != static_cast<double>(BgmRepeatTrack)) {
      const std::string start =
          MciQuery("status cdaudio position track " + std::to_string(BgmRepeatTrack));
      MciPlay("cdaudio", start, "");
    }
  } else if (mode == "stopped") {
    MciPlay("cdaudio", "", "");
  }
  return true;
}

void VelloraBgm::PlayMp3File() {
  // A double quote cannot be part of a file name; inside the quoted path it would end the
  // quotes early and let the rest of the setting pass as command keywords. Such a path is
  // treated like a file that cannot be opened.
  if (BgmFile.find('"') != std::string::npos) return;
  if (SendWithoutReply("open \"" + BgmFile + "\" type MPEGVideo Alias MP3Play") == 0) {
    SendWithoutReply("play MP3Play");
  }
}

bool VelloraBgm::IsMp3Playing() {
  std::string reply;
  if (media_.SendCommand("status MP3Play mode", kMp3ModeBufferLength, reply) == 0) {
    reply = UpToFirstNul(std::move(reply));
    reply.resize(kMp3ModeBufferLength, ' ');  // the fixed buffer: padded or cut to its length
    mp3ModeBuffer_ = std::move(reply);
  }
  return StartsWith(mp3ModeBuffer_, "playing");
}

void VelloraBgm::KeepMp3Playing() {
  if (IsMp3Playing()) return;
  SendWithoutReply("stop MP3Play");
  SendWithoutReply("play MP3Play from 0");
}

void VelloraBgm::CloseMp3() {
  SendWithoutReply("stop MP3Play");
  SendWithoutReply("close MP3Play");
}

void VelloraBgm::PlayWaveFile() {
  if (media_.WaveOutDeviceCount() <= 0) return;
  ApiResult = media_.PlaySoundName(&BgmFile, kSoundAsync | kSoundLoop);
}

void VelloraBgm::StopWave() { ApiResult = media_.PlaySoundName(nullptr, kSoundSync); }

}  // namespace vellora::shell
