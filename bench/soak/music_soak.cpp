// The shell's music module left polling for a long time, as the session's timers drive it, and
// watched for growth: a music CD (a disc image standing for the disc in the drive) polled every
// 200 ms with a one-second track repeated, so the poll sends the drive back to it about once a
// second; or an MP3 of a second or two kept playing every 1000 ms, so it is restarted about as
// often. Once a minute it prints its own resident memory, open descriptors and threads, and how
// many play commands the polls have sent so far.
//
//   vellora_bench_music_soak cd <folder> <minutes>
//   vellora_bench_music_soak mp3 <file.mp3> <minutes>
//
// Sound goes wherever SDL sends it; the soak runs it with SDL_AUDIODRIVER=disk into /dev/null.
#include <dirent.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "music/platform/linux/linux_media.h"
#include "music/vellora_bgm.h"
#include "settings/settings_variables.h"

namespace {

using namespace vellora::shell;

// Counts the play commands that pass through to the real media.
class CountingMedia final : public MediaInterface {
 public:
  explicit CountingMedia(MediaInterface& media) : media_(media) {}
  int32_t SendCommand(std::string_view command, uint32_t replyLength, std::string& reply) override {
    if (command.rfind("play ", 0) == 0) ++plays;
    return media_.SendCommand(command, replyLength, reply);
  }
  bool GetErrorText(int32_t code, uint32_t bufferLength, std::string& text) override {
    return media_.GetErrorText(code, bufferLength, text);
  }
  int32_t PlaySoundName(const std::string* sound, uint32_t flags) override { return media_.PlaySoundName(sound, flags); }
  int32_t WaveOutDeviceCount() override { return media_.WaveOutDeviceCount(); }
  uint64_t plays = 0;

 private:
  MediaInterface& media_;
};

// Three one-second audio tracks of 75 sectors each, as raw 2352-byte sectors with a CUE sheet.
std::string WriteDisc(const std::string& folder) {
  std::ofstream bin(folder + "/soak.bin", std::ios::binary);
  std::ofstream cue(folder + "/soak.cue");
  cue << "FILE \"soak.bin\" BINARY\r\n";
  std::vector<int16_t> sector(588 * 2);
  for (int track = 0; track < 3; ++track) {
    for (int s = 0; s < 75; ++s) {
      for (size_t i = 0; i < sector.size(); ++i) sector[i] = static_cast<int16_t>((i * (track + 3) * 97) % 8000);
      bin.write(reinterpret_cast<const char*>(sector.data()), static_cast<std::streamsize>(sector.size() * 2));
    }
    char lines[96];
    std::snprintf(lines, sizeof lines, "  TRACK %02d AUDIO\r\n    INDEX 01 00:%02d:00\r\n", track + 1, track);
    cue << lines;
  }
  return folder + "/soak.cue";
}

struct Usage {
  long rssKib = 0, threads = 0, fds = 0;
};

Usage OwnUsage() {
  Usage usage;
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmRSS:", 0) == 0) usage.rssKib = std::strtol(line.c_str() + 6, nullptr, 10);
    if (line.rfind("Threads:", 0) == 0) usage.threads = std::strtol(line.c_str() + 8, nullptr, 10);
  }
  if (DIR* dir = opendir("/proc/self/fd")) {
    while (const dirent* entry = readdir(dir)) usage.fds += entry->d_name[0] != '.';
    closedir(dir);
    usage.fds -= 1;  // the listing's own descriptor
  }
  return usage;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: %s cd <folder> <minutes> | mp3 <file.mp3> <minutes>\n", argv[0]);
    return 2;
  }
  const std::string mode = argv[1];
  const bool cd = mode == "cd";
  const double minutes = std::atof(argv[3]);
  LinuxMedia media(cd ? WriteDisc(argv[2]) : std::string());
  CountingMedia counting(media);
  VelloraBgm bgm(counting);

  const auto interval = std::chrono::milliseconds(cd ? 200 : 1000);
  if (cd) {
    BgmRepeatTrack = 2;
    bgm.OpenCdAudio();
  } else {
    BgmFile = argv[2];
    bgm.PlayMp3File();
  }
  const auto start = std::chrono::steady_clock::now();
  auto next = start;
  uint64_t polls = 0;
  for (int minute = 0;; ++minute) {
    const Usage usage = OwnUsage();
    std::printf("minute %d: rss %ld KiB, fds %ld, threads %ld, polls %llu, plays %llu\n", minute, usage.rssKib,
                usage.fds, usage.threads, static_cast<unsigned long long>(polls),
                static_cast<unsigned long long>(counting.plays));
    std::fflush(stdout);
    if (minute >= minutes) break;
    const auto minuteEnd = start + std::chrono::minutes(minute + 1);
    while ((next += interval) <= minuteEnd) {
      std::this_thread::sleep_until(next);
      ++polls;
      if (!cd) {
        bgm.KeepMp3Playing();
        continue;
      }
      bgm.PollCdAudio();
      if (bgm.CdPollActive() == 0) {
        std::printf("the CD poll failed: %s\n", bgm.MciReplyText().c_str());
        return 1;
      }
    }
    next -= interval;
  }
  if (cd) {
    bgm.CloseCdAudio();
  } else {
    bgm.CloseMp3();
  }
  return 0;
}
