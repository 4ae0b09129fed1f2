// GDK's mouse buttons and modifier masks in the forms runtime's numbering.
#pragma once

namespace vellora::shell {

// A GDK button number (1 left, 2 middle, 3 right) as a forms button (1 left, 2 right,
// 4 middle); 0 for the other buttons (wheel, back, forward), which forms do not report.
int FormsButtonFromGdk(unsigned gdkButton);

// The buttons held down in a GDK modifier state, as a sum of forms buttons.
int FormsButtonsFromGdkState(unsigned gdkState);

// Shift (1), Ctrl (2) and Alt (4) held down in a GDK modifier state.
int FormsShiftFromGdkState(unsigned gdkState);

}  // namespace vellora::shell
