// Media command strings from outside, as the Linux media interpreter reads them, and positions
// on a disc in its three time formats.
//
// Input: the first byte picks what is checked, the rest is the text.
//  0: any command: the parser must not fail, and no word it gives holds a double quote.
//  1: the text as the file name of the music module's open command: the command parses
//     exactly when the name is not empty and holds no double quote, and then names that file.
//  2: the text as a position to play from: what parses lies on the disc, and a tmsf position
//     formats back to itself.
//  3: the bytes as a drive's table of contents (a first track number, then per track a 16-bit
//     start and a kind, then the lead-out): what is found valid has every sector in a track,
//     and its audio spans run in order inside the range asked, over audio tracks only.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "music/platform/linux/cd_time.h"
#include "music/platform/linux/mci_command.h"

namespace {

using namespace vellora::shell::mci;

void Check(bool condition) {
  if (!condition) std::abort();
}

void AnyCommand(std::string_view text) {
  Request request;
  if (ParseCommand(text, request) != 0) return;
  Check(!request.device.empty());
  Check(request.device.find('"') == std::string::npos);
  for (const auto* value : {&request.type, &request.alias, &request.from, &request.to}) {
    if (*value) Check(value->value().find('"') == std::string::npos);
  }
}

void OpenWithFileName(std::string_view name) {
  const std::string command = "open \"" + std::string(name) + "\" type MPEGVideo Alias MP3Play";
  Request request;
  const bool parsed = ParseCommand(command, request) == 0;
  Check(parsed == (!name.empty() && name.find('"') == std::string_view::npos));
  if (!parsed) return;
  Check(request.verb == Verb::Open);
  Check(request.deviceQuoted && request.device == name);
  Check(request.type == "MPEGVideo" && request.alias == "MP3Play");
}

void PlayPosition(std::string_view text) {
  DiscLayout disc;
  disc.trackStarts = {0, 20, 4520, 4600};
  disc.leadOut = 9000;
  for (TimeFormat format : {TimeFormat::Tmsf, TimeFormat::Msf, TimeFormat::Milliseconds}) {
    const auto sector = ParsePosition(format, disc, text);
    if (!sector) continue;
    Check(*sector >= 0 && *sector <= disc.leadOut);
    if (format == TimeFormat::Tmsf) {
      Check(ParsePosition(format, disc, FormatPosition(format, disc, *sector)) == sector);
    }
  }
}

uint32_t Read16(std::string_view bytes, size_t at) {
  return static_cast<uint8_t>(bytes[at]) | static_cast<uint32_t>(static_cast<uint8_t>(bytes[at + 1])) << 8;
}

void TableOfContents(std::string_view bytes) {
  if (bytes.size() < 3) return;
  DiscLayout disc;
  disc.firstTrack = static_cast<uint8_t>(bytes[0]);
  size_t at = 1;
  for (; at + 3 + 2 <= bytes.size(); at += 3) {
    disc.trackStarts.push_back(static_cast<int32_t>(Read16(bytes, at)) - 2);
    disc.audio.push_back(bytes[at + 2] % 2 == 0);
  }
  disc.leadOut = static_cast<int32_t>(Read16(bytes, at));
  if (!disc.Valid()) return;
  for (int32_t sector = disc.trackStarts.front(); sector <= disc.leadOut; sector += 7) {
    Check(disc.HasTrack(disc.TrackAt(sector)));
  }
  const int32_t start = disc.trackStarts.front() + static_cast<int32_t>(Read16(bytes, 1) % 64);
  const int32_t end = disc.leadOut - static_cast<int32_t>(Read16(bytes, at) % 64);
  int32_t previous = start;
  for (const SectorSpan& span : disc.AudioSpans(start, end)) {
    Check(span.start >= previous && span.start < span.end && span.end <= end);
    Check(disc.IsAudio(disc.TrackAt(span.start)) && disc.IsAudio(disc.TrackAt(span.end - 1)));
    previous = span.end;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
  switch (data[0] % 4) {
    case 0: AnyCommand(text); break;
    case 1: OpenWithFileName(text); break;
    case 2: PlayPosition(text); break;
    default: TableOfContents(text); break;
  }
  return 0;
}
