#include "music/platform/linux/mci_command.h"

#include <cstddef>

#include "music/platform/linux/mci_errors.h"

namespace vellora::shell::mci {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Reads the words after the device one keyword phrase at a time.
class Arguments {
 public:
  explicit Arguments(const std::vector<Word>& words) : words_(words), next_(2) {}

  bool Done() const { return next_ >= words_.size(); }

  // Takes the keyword phrase (words separated by single blanks) when the next words are it.
  bool Take(std::string_view phrase) {
    size_t index = next_;
    while (!phrase.empty()) {
      const size_t blank = phrase.find(' ');
      const std::string_view keyword = phrase.substr(0, blank);
      if (index >= words_.size() || words_[index].quoted ||
          AsciiLower(words_[index].text) != keyword) {
        return false;
      }
      ++index;
      phrase = blank == std::string_view::npos ? std::string_view() : phrase.substr(blank + 1);
    }
    next_ = index;
    return true;
  }

  // Takes the value that follows a keyword.
  bool TakeValue(std::string& value) {
    if (Done()) return false;
    value = words_[next_++].text;
    return true;
  }

 private:
  const std::vector<Word>& words_;
  size_t next_;
};

// Reads a value into an optional that must still be empty.
int32_t TakeOnce(Arguments& args, std::optional<std::string>& target, int32_t missingCode) {
  if (target) return kDuplicateFlags;
  std::string value;
  if (!args.TakeValue(value)) return missingCode;
  target = std::move(value);
  return 0;
}

int32_t ParseTrackNumber(Arguments& args, std::optional<uint32_t>& track) {
  std::string text;
  if (!args.TakeValue(text)) return kMissingParameter;
  if (text.empty() || text.size() > 9) return kBadInteger;
  uint32_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return kBadInteger;
    value = value * 10 + static_cast<uint32_t>(c - '0');
  }
  track = value;
  return 0;
}

int32_t ParseOpen(Arguments& args, Request& request) {
  while (!args.Done()) {
    int32_t error = 0;
    if (args.Take("type")) {
      error = TakeOnce(args, request.type, kMissingStringArgument);
    } else if (args.Take("alias")) {
      error = TakeOnce(args, request.alias, kMissingStringArgument);
    } else if (args.Take("shareable")) {
      // Every device here may be shared.
    } else {
      error = kUnrecognizedKeyword;
    }
    if (error != 0) return error;
  }
  return 0;
}

int32_t ParsePlay(Arguments& args, Request& request) {
  while (!args.Done()) {
    int32_t error = 0;
    if (args.Take("from")) {
      error = TakeOnce(args, request.from, kMissingParameter);
    } else if (args.Take("to")) {
      error = TakeOnce(args, request.to, kMissingParameter);
    } else {
      error = kUnrecognizedKeyword;
    }
    if (error != 0) return error;
  }
  return 0;
}

int32_t ParseSet(Arguments& args, Request& request) {
  if (args.Done()) return kMissingParameter;
  if (!args.Take("time format")) return kUnrecognizedKeyword;
  if (args.Take("milliseconds") || args.Take("ms")) {
    request.timeFormat = TimeFormat::Milliseconds;
  } else if (args.Take("msf")) {
    request.timeFormat = TimeFormat::Msf;
  } else if (args.Take("tmsf")) {
    request.timeFormat = TimeFormat::Tmsf;
  } else {
    return args.Done() ? kMissingParameter : kBadTimeFormat;
  }
  return args.Done() ? 0 : kUnrecognizedKeyword;
}

int32_t ParseStatus(Arguments& args, Request& request) {
  if (args.Done()) return kMissingParameter;
  int32_t error = 0;
  if (args.Take("mode")) {
    request.item = StatusItem::Mode;
  } else if (args.Take("current track")) {
    request.item = StatusItem::CurrentTrack;
  } else if (args.Take("number of tracks")) {
    request.item = StatusItem::NumberOfTracks;
  } else if (args.Take("position")) {
    request.item = StatusItem::Position;
    if (args.Take("track")) error = ParseTrackNumber(args, request.track);
  } else if (args.Take("length")) {
    request.item = StatusItem::Length;
    if (args.Take("track")) error = ParseTrackNumber(args, request.track);
  } else if (args.Take("media present")) {
    request.item = StatusItem::MediaPresent;
  } else if (args.Take("ready")) {
    request.item = StatusItem::Ready;
  } else if (args.Take("time format")) {
    request.item = StatusItem::TimeFormat;
  } else {
    return kUnrecognizedKeyword;
  }
  if (error != 0) return error;
  return args.Done() ? 0 : kUnrecognizedKeyword;
}

struct VerbName {
  std::string_view name;
  Verb verb;
};

constexpr VerbName kVerbs[] = {
    {"open", Verb::Open},   {"close", Verb::Close},   {"play", Verb::Play},
    {"stop", Verb::Stop},   {"pause", Verb::Pause},   {"resume", Verb::Resume},
    {"set", Verb::Set},     {"status", Verb::Status},
};

}  // namespace

std::string AsciiLower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return lower;
}

int32_t SplitWords(std::string_view command, std::vector<Word>& words) {
  words.clear();
  size_t at = 0;
  while (true) {
    while (at < command.size() && IsBlank(command[at])) ++at;
    if (at >= command.size()) return 0;
    Word word;
    if (command[at] == '"') {
      const size_t close = command.find('"', at + 1);
      if (close == std::string_view::npos) return kNoClosingQuote;
      word.text = std::string(command.substr(at + 1, close - at - 1));
      word.quoted = true;
      at = close + 1;
      if (at < command.size() && !IsBlank(command[at])) return kExtraCharacters;
    } else {
      const size_t start = at;
      while (at < command.size() && !IsBlank(command[at])) {
        if (command[at] == '"') return kExtraCharacters;
        ++at;
      }
      word.text = std::string(command.substr(start, at - start));
    }
    words.push_back(std::move(word));
  }
}

int32_t ParseCommand(std::string_view command, Request& request) {
  request = Request();
  std::vector<Word> words;
  if (const int32_t error = SplitWords(command, words); error != 0) return error;
  if (words.empty()) return kMissingCommandString;
  if (words[0].quoted) return kUnrecognizedCommand;

  const std::string verb = AsciiLower(words[0].text);
  bool known = false;
  for (const VerbName& entry : kVerbs) {
    if (entry.name == verb) {
      request.verb = entry.verb;
      known = true;
    }
  }
  if (!known) return kUnrecognizedCommand;
  if (words.size() < 2 || words[1].text.empty()) return kMissingDeviceName;
  request.device = words[1].text;
  request.deviceQuoted = words[1].quoted;

  Arguments args(words);
  switch (request.verb) {
    case Verb::Open: return ParseOpen(args, request);
    case Verb::Play: return ParsePlay(args, request);
    case Verb::Set: return ParseSet(args, request);
    case Verb::Status: return ParseStatus(args, request);
    case Verb::Close:
    case Verb::Stop:
    case Verb::Pause:
    case Verb::Resume: return args.Done() ? 0 : kUnrecognizedKeyword;
  }
  return kUnrecognizedCommand;
}

}  // namespace vellora::shell::mci
