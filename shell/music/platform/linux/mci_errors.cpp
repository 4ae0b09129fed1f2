#include "music/platform/linux/mci_errors.h"

namespace vellora::shell::mci {

std::string_view MciErrorText(int32_t code) {
  switch (code) {
    case kUnrecognizedKeyword: return "The driver cannot recognize the specified command parameter.";
    case kUnrecognizedCommand: return "The driver cannot recognize the specified command.";
    case kHardware: return "There is a problem with your media device.";
    case kInvalidDeviceName: return "The specified device is not open or is not recognized by MCI.";
    case kOutOfMemory: return "There is not enough memory available for this task.";
    case kDeviceOpen: return "The device name is already being used as an alias by this application.";
    case kMissingCommandString: return "No command was specified.";
    case kParamOverflow: return "The output string was too large to fit in the return buffer.";
    case kMissingStringArgument: return "The specified command requires a character-string parameter.";
    case kBadInteger: return "The specified integer is invalid for this command.";
    case kMissingParameter: return "The specified command requires a parameter.";
    case kUnsupportedFunction: return "The MCI device you are using does not support the specified command.";
    case kFileNotFound: return "Cannot find the specified file.";
    case kDeviceNotReady: return "The device is not ready.";
    case kOutOfRange: return "The specified parameter is out of range for the specified command.";
    case kDuplicateAlias: return "The specified alias is already being used in this application.";
    case kMissingDeviceName: return "No device name was given.";
    case kBadTimeFormat: return "The specified value for the time format is invalid.";
    case kNoClosingQuote: return "A closing double-quotation mark is missing.";
    case kDuplicateFlags: return "A parameter or value was specified twice.";
    case kInvalidFile: return "The specified file cannot be played on the specified MCI device.";
    case kExtraCharacters: return "Text must be enclosed in quotation marks with a space after the closing mark.";
    case kDeviceNotInstalled: return "The specified device is not installed on the system.";
    case kWaveOutputsUnsuitable: return "No sound output that can play this is available.";
    default: return {};
  }
}

}  // namespace vellora::shell::mci
