// A device opened by the media interpreter: the CD audio device or an MPEG audio file.
#pragma once

#include <cstdint>
#include <string>

#include "music/platform/linux/mci_command.h"

namespace vellora::shell::mci {

class MciDevice {
 public:
  virtual ~MciDevice() = default;
  // Carries out a command for this device (any but open); a reply goes to reply.
  virtual int32_t Execute(const Request& request, std::string& reply) = 0;
};

}  // namespace vellora::shell::mci
