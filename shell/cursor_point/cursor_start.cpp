#include "cursor_point/cursor_start.h"

#include <cstdint>

#include "settings/settings_variables.h"

namespace vellora::shell {
namespace {

// Stores a coordinate the way a 16-bit variable takes it: one out of range leaves it unchanged.
void AssignInt16(int16_t& target, int32_t value) {
  if (value >= INT16_MIN && value <= INT16_MAX) target = static_cast<int16_t>(value);
}

}  // namespace

bool NoteCursorStart(FormsPlatform& platform) {
  PixelPoint cursor;
  if (!platform.CursorPosition(cursor)) {
    CursorStartX = 0;
    CursorStartY = 0;
    return false;
  }
  AssignInt16(CursorStartX, cursor.x);
  AssignInt16(CursorStartY, cursor.y);
  return true;
}

}  // namespace vellora::shell
