#include "platform/gtk/input_mapping.h"

#include <gdk/gdk.h>
#include <gtest/gtest.h>

namespace vellora::shell {
namespace {

TEST(GtkInputMapping, ButtonsAreRenumberedLeftRightMiddle) {
  EXPECT_EQ(FormsButtonFromGdk(1), 1);  // left
  EXPECT_EQ(FormsButtonFromGdk(3), 2);  // right
  EXPECT_EQ(FormsButtonFromGdk(2), 4);  // middle
}

TEST(GtkInputMapping, WheelAndExtraButtonsAreNotFormsButtons) {
  for (unsigned button : {0u, 4u, 5u, 6u, 7u, 8u, 9u}) EXPECT_EQ(FormsButtonFromGdk(button), 0) << button;
}

TEST(GtkInputMapping, HeldButtonsAddUp) {
  EXPECT_EQ(FormsButtonsFromGdkState(0), 0);
  EXPECT_EQ(FormsButtonsFromGdkState(GDK_BUTTON1_MASK), 1);
  EXPECT_EQ(FormsButtonsFromGdkState(GDK_BUTTON3_MASK), 2);
  EXPECT_EQ(FormsButtonsFromGdkState(GDK_BUTTON2_MASK), 4);
  EXPECT_EQ(FormsButtonsFromGdkState(GDK_BUTTON1_MASK | GDK_BUTTON2_MASK | GDK_BUTTON3_MASK), 7);
  // Keys and the wheel buttons do not count as held mouse buttons.
  EXPECT_EQ(FormsButtonsFromGdkState(GDK_SHIFT_MASK | GDK_BUTTON4_MASK | GDK_BUTTON5_MASK), 0);
}

TEST(GtkInputMapping, ShiftCtrlAndAltAreBits1To4) {
  EXPECT_EQ(FormsShiftFromGdkState(0), 0);
  EXPECT_EQ(FormsShiftFromGdkState(GDK_SHIFT_MASK), 1);
  EXPECT_EQ(FormsShiftFromGdkState(GDK_CONTROL_MASK), 2);
  EXPECT_EQ(FormsShiftFromGdkState(GDK_MOD1_MASK), 4);
  EXPECT_EQ(FormsShiftFromGdkState(GDK_SHIFT_MASK | GDK_CONTROL_MASK | GDK_MOD1_MASK), 7);
  // Caps Lock, Num Lock (Mod2), the Super key and the buttons are not shift states.
  EXPECT_EQ(FormsShiftFromGdkState(GDK_LOCK_MASK | GDK_MOD2_MASK | GDK_SUPER_MASK | GDK_MOD4_MASK | GDK_BUTTON1_MASK),
            0);
}

}  // namespace
}  // namespace vellora::shell
