// Parsing of media command strings: "verb device [keywords]". Words are separated by blanks;
// a word that starts with a double quote runs to the next double quote and must be followed
// by a blank or the end. A double quote anywhere else is an error, so a quoted file name ends
// at its closing quote and nothing in it can pass for a keyword. Keywords are matched without
// regard to case; quoted words are never keywords.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vellora::shell::mci {

struct Word {
  std::string text;  // without its quotes
  bool quoted = false;
};

// Splits a command into words; on failure returns the error code and leaves words partial.
int32_t SplitWords(std::string_view command, std::vector<Word>& words);

enum class Verb { Open, Close, Play, Stop, Pause, Resume, Set, Status };

enum class TimeFormat { Milliseconds, Msf, Tmsf };

enum class StatusItem {
  Mode,
  CurrentTrack,
  NumberOfTracks,
  Position,       // of the device, or of a track when track is given
  Length,         // of the medium, or of a track when track is given
  MediaPresent,
  Ready,
  TimeFormat,
};

struct Request {
  Verb verb = Verb::Status;
  std::string device;          // device name, alias or file name, as written
  bool deviceQuoted = false;   // the device was a quoted file name
  // open
  std::optional<std::string> type;
  std::optional<std::string> alias;
  // play: positions as written, read in the device's time format
  std::optional<std::string> from;
  std::optional<std::string> to;
  // set
  std::optional<TimeFormat> timeFormat;
  // status
  StatusItem item = StatusItem::Mode;
  std::optional<uint32_t> track;
};

// Parses one command; returns 0 and fills request, or an error code.
int32_t ParseCommand(std::string_view command, Request& request);

// Lower-cases ASCII letters; device names and aliases are looked up this way.
std::string AsciiLower(std::string_view text);

}  // namespace vellora::shell::mci
