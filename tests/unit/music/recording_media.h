// A media interface for the music module's tests: it records every call in order and answers
// commands from a table the test fills (and changes between polls, as a drive would).
#pragma once

#include <map>
#include <string>
#include <vector>

#include "music/media_interface.h"

namespace vellora::shell::testing {

struct MciAnswer {
  int32_t code = 0;
  std::string reply;
};

class RecordingMedia final : public MediaInterface {
 public:
  // Answers by command; a command not in the table fails with unknownCode.
  std::map<std::string, MciAnswer> answers;
  int32_t unknownCode = 263;
  // Error texts by code; a code not here has no text.
  std::map<int32_t, std::string> errorTexts;
  int32_t waveDevices = 1;
  int32_t playSoundResult = 1;

  // What was asked, in order.
  std::vector<std::string> commands;
  std::vector<uint32_t> replyLengths;     // one per command
  std::vector<int32_t> errorTextCodes;
  struct SoundCall {
    bool hasSound = false;
    std::string sound;
    uint32_t flags = 0;
  };
  std::vector<SoundCall> soundCalls;
  int deviceCountCalls = 0;

  int32_t SendCommand(std::string_view command, uint32_t replyLength,
                      std::string& reply) override {
    commands.emplace_back(command);
    replyLengths.push_back(replyLength);
    reply.clear();
    const auto found = answers.find(std::string(command));
    if (found == answers.end()) return unknownCode;
    if (replyLength > 0) reply = found->second.reply;
    return found->second.code;
  }

  bool GetErrorText(int32_t code, uint32_t bufferLength, std::string& text) override {
    errorTextCodes.push_back(code);
    const auto found = errorTexts.find(code);
    if (found == errorTexts.end() || bufferLength == 0) return false;
    text = found->second;
    return true;
  }

  int32_t PlaySoundName(const std::string* sound, uint32_t flags) override {
    soundCalls.push_back({sound != nullptr, sound ? *sound : std::string(), flags});
    return playSoundResult;
  }

  int32_t WaveOutDeviceCount() override {
    ++deviceCountCalls;
    return waveDevices;
  }

  // The commands recorded since the last call, which forgets them.
  std::vector<std::string> TakeCommands() {
    std::vector<std::string> taken;
    taken.swap(commands);
    replyLengths.clear();
    return taken;
  }
};

}  // namespace vellora::shell::testing
