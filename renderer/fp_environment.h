#pragma once

namespace vellora::renderer {

// Masks every floating-point exception for the rest of the run (x87 control word 0x133F:
// all six exceptions masked, extended precision, round to nearest; SSE likewise masked), so
// that arithmetic in the scene and in the GL driver never traps.
void MaskFloatingPointExceptions();

}  // namespace vellora::renderer
