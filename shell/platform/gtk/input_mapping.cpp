#include "platform/gtk/input_mapping.h"

#include <gdk/gdk.h>

#include "platform/forms_platform.h"

namespace vellora::shell {

int FormsButtonFromGdk(unsigned gdkButton) {
  switch (gdkButton) {
    case GDK_BUTTON_PRIMARY: return kLeftButton;
    case GDK_BUTTON_SECONDARY: return kRightButton;
    case GDK_BUTTON_MIDDLE: return kMiddleButton;
    default: return 0;
  }
}

int FormsButtonsFromGdkState(unsigned gdkState) {
  int buttons = 0;
  if (gdkState & GDK_BUTTON1_MASK) buttons |= kLeftButton;
  if (gdkState & GDK_BUTTON3_MASK) buttons |= kRightButton;
  if (gdkState & GDK_BUTTON2_MASK) buttons |= kMiddleButton;
  return buttons;
}

int FormsShiftFromGdkState(unsigned gdkState) {
  int shift = 0;
  if (gdkState & GDK_SHIFT_MASK) shift |= 1;
  if (gdkState & GDK_CONTROL_MASK) shift |= 2;
  if (gdkState & GDK_MOD1_MASK) shift |= 4;
  return shift;
}

}  // namespace vellora::shell
