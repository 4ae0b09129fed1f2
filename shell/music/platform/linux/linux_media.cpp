#include "music/platform/linux/linux_media.h"

#include "music/platform/linux/cd_audio_device.h"
#include "music/platform/linux/mci_errors.h"
#include "music/platform/linux/mp3_device.h"
#include "platform/posix/posix_path.h"

namespace vellora::shell {

using mci::AsciiLower;

LinuxMedia::LinuxMedia(std::string cdSource, int outputRate)
    : LinuxMedia([cdSource = std::move(cdSource)] { return std::make_shared<mci::CdDrive>(cdSource); },
                 outputRate) {}

LinuxMedia::LinuxMedia(CdDriveMaker makeCdDrive, int outputRate)
    : makeCdDrive_(std::move(makeCdDrive)), output_(outputRate), player_(output_) {}

LinuxMedia::~LinuxMedia() = default;

int32_t LinuxMedia::Open(const mci::Request& request) {
  const std::string type = request.type ? AsciiLower(*request.type) : std::string();
  const bool cd = !request.deviceQuoted && AsciiLower(request.device) == "cdaudio";
  const std::string name = AsciiLower(request.alias ? *request.alias : request.device);
  if (name.empty()) return mci::kMissingDeviceName;
  if (devices_.count(name) != 0) return request.alias ? mci::kDuplicateAlias : mci::kDeviceOpen;

  if (cd) {
    if (!type.empty() && type != "cdaudio") return mci::kInvalidDeviceName;
    std::shared_ptr<mci::CdDrive> drive = makeCdDrive_();
    if (!drive->Open()) return mci::kDeviceNotInstalled;
    devices_[name] = std::make_unique<mci::CdAudioDevice>(std::move(drive), output_);
    return 0;
  }
  if (type != "mpegvideo") return mci::kInvalidDeviceName;
  int32_t error = 0;
  const std::string path = ToPosixPath(request.device);
  const std::optional<mci::Mp3Format> format = mci::Mp3Source::Probe(path, error);
  if (!format) return error;
  devices_[name] = std::make_unique<mci::Mp3Device>(path, *format, output_);
  return 0;
}

int32_t LinuxMedia::SendCommand(std::string_view command, uint32_t replyLength,
                                std::string& reply) {
  reply.clear();
  mci::Request request;
  int32_t code = mci::ParseCommand(command, request);
  std::string answer;
  if (code == 0) {
    if (request.verb == mci::Verb::Open) {
      code = Open(request);
    } else {
      const auto found = devices_.find(AsciiLower(request.device));
      if (request.deviceQuoted || found == devices_.end()) {
        code = mci::kInvalidDeviceName;
      } else if (request.verb == mci::Verb::Close) {
        devices_.erase(found);
      } else {
        code = found->second->Execute(request, answer);
      }
    }
  }
  if (code != 0 || replyLength == 0) return code;
  if (answer.size() >= replyLength) return mci::kParamOverflow;
  reply = std::move(answer);
  return 0;
}

bool LinuxMedia::GetErrorText(int32_t code, uint32_t bufferLength, std::string& text) {
  const std::string_view known = mci::MciErrorText(code);
  if (known.empty() || bufferLength == 0) return false;
  text = std::string(known.substr(0, bufferLength - 1));
  return true;
}

int32_t LinuxMedia::PlaySoundName(const std::string* sound, uint32_t flags) {
  if (sound == nullptr) return player_.Play(nullptr, flags);
  const std::string path = ToPosixPath(*sound);
  return player_.Play(&path, flags);
}

int32_t LinuxMedia::WaveOutDeviceCount() { return output_.Available() ? 1 : 0; }

std::unique_ptr<MediaInterface> CreatePlatformMedia() { return std::make_unique<LinuxMedia>(); }

}  // namespace vellora::shell
