#include "fp_environment.h"

#include <cfenv>
#include <cstdint>

namespace vellora::renderer {

void MaskFloatingPointExceptions() {
  std::fenv_t previous;
  std::feholdexcept(&previous);  // clears the flags and masks every exception
#if (defined(__x86_64__) || defined(__i386__)) && defined(__GNUC__)
  const uint16_t x87ControlWord = 0x133F;
  __asm__ volatile("fldcw %0" : : "m"(x87ControlWord));
  uint32_t mxcsr = 0;
  __asm__ volatile("stmxcsr %0" : "=m"(mxcsr));
  mxcsr |= 0x1F80u;  // the six SSE exception masks
  __asm__ volatile("ldmxcsr %0" : : "m"(mxcsr));
#endif
}

}  // namespace vellora::renderer
