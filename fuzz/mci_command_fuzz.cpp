// Media command strings from outside, as the Linux media interpreter reads them, and positions
// on a disc in its three time formats.
//
// Input: the first byte picks what is checked, the rest is the text.
//  0: any command: the parser must not fail, and no word it gives holds a double quote.
//  1: the text as the file name of the music module's open command: the command parses
//     exactly when the name is not empty and holds no double quote, and then names that file.
//  2: the text as a position to play from: what parses lies on the disc, and a tmsf position
//     formats back to itself.
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
  switch (data[0] % 3) {
    case 0: AnyCommand(text); break;
    case 1: OpenWithFileName(text); break;
    default: PlayPosition(text); break;
  }
  return 0;
}
