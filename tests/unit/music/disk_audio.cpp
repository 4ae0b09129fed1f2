#include "disk_audio.h"

#include <cstdlib>
#include <fstream>
#include <iterator>

namespace vellora::shell::testing {

void UseDiskAudio(const std::string& path) {
  setenv("SDL_AUDIODRIVER", "disk", 1);
  setenv("SDL_DISKAUDIOFILE", path.c_str(), 1);
}

void UseNoAudio() { setenv("SDL_AUDIODRIVER", "no-such-driver", 1); }

Frames ReadRawFrames(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  Frames frames(bytes.size() / 4 * 2);
  for (size_t i = 0; i < frames.size(); ++i) {
    frames[i] = static_cast<int16_t>(static_cast<uint8_t>(bytes[2 * i]) |
                                     static_cast<uint8_t>(bytes[2 * i + 1]) << 8);
  }
  return frames;
}

long FindFrames(const Frames& frames, const Frames& pattern, size_t from) {
  if (pattern.empty() || frames.size() < pattern.size()) return -1;
  for (size_t at = from * 2; at + pattern.size() <= frames.size(); at += 2) {
    if (frames[at] == pattern[0] && std::equal(pattern.begin(), pattern.end(), frames.begin() + static_cast<long>(at))) {
      return static_cast<long>(at / 2);
    }
  }
  return -1;
}

int CountFrames(const Frames& frames, const Frames& pattern) {
  int count = 0;
  size_t from = 0;
  for (long at; (at = FindFrames(frames, pattern, from)) >= 0; from = static_cast<size_t>(at) + pattern.size() / 2) {
    ++count;
  }
  return count;
}

Frames SoundPart(const Frames& frames) {
  size_t first = 0;
  while (first < frames.size() && frames[first] == 0) ++first;
  size_t last = frames.size();
  while (last > first && frames[last - 1] == 0) --last;
  first -= first % 2;
  last += last % 2;
  return Frames(frames.begin() + static_cast<long>(first), frames.begin() + static_cast<long>(last));
}

}  // namespace vellora::shell::testing
