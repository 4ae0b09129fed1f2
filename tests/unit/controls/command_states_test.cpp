#include <gtest/gtest.h>

#include <functional>

#include "command_host.h"

namespace vellora::shell {
namespace {

using testing::CommandHost;

// Brings a sited button into a state: 0 (never initialised), 1 idle, 2 pointer over,
// 3 focused, 4 focused with the pointer over.
void Reach(CommandHost& host, int state) {
  host.Site();
  if (state == 0) return;
  host.button.Initialize();
  if (state == 3 || state == 4) host.Focus(true);
  if (state == 2 || state == 4) host.Move();
  ASSERT_EQ(host.button.ButtonState(), state);
}

struct Row {
  const char* event;
  std::function<void(CommandHost&)> apply;
  int from;
  int to;
  const char* look;  // the picture painted, nullptr when nothing is painted
  char face;         // 'W' white on top, 'L' lavender on top, ' ' not painted
  int clicks;
};

void Tick(CommandHost& h) { h.platform.Advance(Command::kMousePollMs); }

const std::vector<Row>& Table() {
  static const std::vector<Row> rows = {
      // Focus gained: state 2 goes to 4 only; every other state to 3.
      {"focus gained", [](CommandHost& h) { h.Focus(true); }, 0, 3, "Selected", 'W', 0},
      {"focus gained", [](CommandHost& h) { h.Focus(true); }, 1, 3, "Selected", 'W', 0},
      {"focus gained", [](CommandHost& h) { h.Focus(true); }, 2, 4, "Pressed", 'L', 0},
      {"focus gained", [](CommandHost& h) { h.Focus(true); }, 3, 3, "Selected", 'W', 0},
      {"focus gained", [](CommandHost& h) { h.Focus(true); }, 4, 3, "Selected", 'W', 0},
      // Focus lost: back to 1, painted unless already 1.
      {"focus lost", [](CommandHost& h) { h.Focus(false); }, 0, 1, "Normal", 'W', 0},
      {"focus lost", [](CommandHost& h) { h.Focus(false); }, 1, 1, nullptr, ' ', 0},
      {"focus lost", [](CommandHost& h) { h.Focus(false); }, 2, 1, "Normal", 'W', 0},
      {"focus lost", [](CommandHost& h) { h.Focus(false); }, 3, 1, "Normal", 'W', 0},
      {"focus lost", [](CommandHost& h) { h.Focus(false); }, 4, 1, "Normal", 'W', 0},
      // Left button down paints Pressed in every state and changes none; others paint nothing.
      {"left down", [](CommandHost& h) { h.Down(); }, 1, 1, "Pressed", 'W', 0},
      {"left down", [](CommandHost& h) { h.Down(); }, 2, 2, "Pressed", 'L', 0},
      {"left down", [](CommandHost& h) { h.Down(); }, 3, 3, "Pressed", 'W', 0},
      {"left down", [](CommandHost& h) { h.Down(); }, 4, 4, "Pressed", 'W', 0},
      {"right down", [](CommandHost& h) { h.Down(kRightButton); }, 2, 2, nullptr, ' ', 0},
      {"middle down", [](CommandHost& h) { h.Down(kMiddleButton); }, 4, 4, nullptr, ' ', 0},
      // Mouse move: 1 goes to 2 only, 3 to 4; nothing else changes.
      {"move", [](CommandHost& h) { h.Move(); }, 0, 0, nullptr, ' ', 0},
      {"move", [](CommandHost& h) { h.Move(); }, 1, 2, "HighLight", 'L', 0},
      {"move", [](CommandHost& h) { h.Move(); }, 2, 2, nullptr, ' ', 0},
      {"move", [](CommandHost& h) { h.Move(); }, 3, 4, "HighLight", 'W', 0},  // HighLightSelect
      {"move", [](CommandHost& h) { h.Move(); }, 4, 4, nullptr, ' ', 0},
      // Left button up: Normal in 2, HighLightSelect in 4; Click in every state but 3.
      {"left up", [](CommandHost& h) { h.Up(); }, 0, 0, nullptr, ' ', 1},
      {"left up", [](CommandHost& h) { h.Up(); }, 1, 1, nullptr, ' ', 1},
      {"left up", [](CommandHost& h) { h.Up(); }, 2, 2, "Normal", 'L', 1},
      {"left up", [](CommandHost& h) { h.Up(); }, 3, 3, nullptr, ' ', 0},
      {"left up", [](CommandHost& h) { h.Up(); }, 4, 4, "HighLight", 'W', 1},
      // Other buttons up: Click by the same rule, nothing painted.
      {"right up", [](CommandHost& h) { h.Up(kRightButton); }, 1, 1, nullptr, ' ', 1},
      {"right up", [](CommandHost& h) { h.Up(kRightButton); }, 2, 2, nullptr, ' ', 1},
      {"right up", [](CommandHost& h) { h.Up(kRightButton); }, 3, 3, nullptr, ' ', 0},
      {"middle up", [](CommandHost& h) { h.Up(kMiddleButton); }, 4, 4, nullptr, ' ', 1},
      // The poll with the pointer off the button: the hover look goes.
      {"tick away", [](CommandHost& h) { h.PointerAway(), Tick(h); }, 1, 1, nullptr, ' ', 0},
      {"tick away", [](CommandHost& h) { h.PointerAway(), Tick(h); }, 2, 1, "Normal", 'W', 0},
      {"tick away", [](CommandHost& h) { h.PointerAway(), Tick(h); }, 3, 3, nullptr, ' ', 0},
      {"tick away", [](CommandHost& h) { h.PointerAway(), Tick(h); }, 4, 3, "Selected", 'W', 0},
      {"tick nowhere", [](CommandHost& h) { h.platform.windowUnderCursor = 0, Tick(h); }, 2, 1, "Normal", 'W', 0},
      {"tick over", [](CommandHost& h) { h.PointerOver(), Tick(h); }, 2, 2, nullptr, ' ', 0},
      {"tick over", [](CommandHost& h) { h.PointerOver(), Tick(h); }, 4, 4, nullptr, ' ', 0},
  };
  return rows;
}

TEST(CommandStates, TheTransitionTableRowByRow) {
  for (const Row& row : Table()) {
    SCOPED_TRACE(std::string(row.event) + " from " + std::to_string(row.from));
    CommandHost host;
    Reach(host, row.from);
    host.PointerOver();
    const int presents = host.Presents();
    row.apply(host);
    EXPECT_EQ(host.button.ButtonState(), row.to);
    EXPECT_EQ(host.clicks, row.clicks);
    if (row.look == nullptr) {
      EXPECT_EQ(host.Presents(), presents) << "painted";
    } else {
      EXPECT_GT(host.Presents(), presents) << "not painted";
      EXPECT_EQ(host.Look(), row.look);
      EXPECT_EQ(host.WhiteOnTop(), row.face == 'W');
    }
  }
}

TEST(CommandStates, LeavingWhileHeldLosesTheClickOnlyOnceATickHasSeenIt) {
  // Released after a tick saw the pointer gone: no Click.
  {
    CommandHost host;
    Reach(host, 4);
    host.PointerOver();
    host.Down();
    EXPECT_TRUE(host.button.MouseIsDown());
    host.PointerAway();
    Tick(host);
    EXPECT_EQ(host.button.ButtonState(), 3);
    EXPECT_EQ(host.Look(), "Selected");
    host.Move();  // dragging back over while held does not bring the hover back
    EXPECT_EQ(host.button.ButtonState(), 3);
    host.Up();
    EXPECT_EQ(host.clicks, 0);
    EXPECT_FALSE(host.button.MouseIsDown());
  }
  // Released before the next tick: Click.
  {
    CommandHost host;
    Reach(host, 4);
    host.PointerOver();
    host.platform.Advance(30);
    host.Down();
    host.PointerAway();
    host.platform.Advance(60);  // 90 ms since Initialize: no tick yet
    host.Up();
    EXPECT_EQ(host.clicks, 1);
    host.platform.Advance(10);  // the tick now only takes the hover look away
    EXPECT_EQ(host.button.ButtonState(), 3);
    EXPECT_EQ(host.clicks, 1);
  }
}

TEST(CommandStates, TheHostsClickHandlerMayTakeTheButtonAway) {
  CommandHost host;
  Reach(host, 4);
  host.button.Click = [&] {
    ++host.clicks;
    host.form.Unload();
  };
  host.Up();
  EXPECT_EQ(host.clicks, 1);
  EXPECT_EQ(host.button.Window(), nullptr);
}

TEST(CommandStates, ADisabledButtonIgnoresEverythingAndNeverClicks) {
  CommandHost host;
  Reach(host, 2);
  host.button.Enabled(0);
  EXPECT_EQ(host.Look(), "Disable");
  const int presents = host.Presents();
  host.Focus(true);
  host.Move();
  host.Down();
  host.Up();
  host.Down(kRightButton);
  host.Up(kRightButton);
  host.PointerAway();
  Tick(host);
  host.Focus(false);
  EXPECT_EQ(host.button.ButtonState(), 2);  // frozen
  EXPECT_FALSE(host.button.MouseIsDown());
  EXPECT_EQ(host.clicks, 0);
  EXPECT_EQ(host.Presents(), presents);
  // Enabled again: Normal is painted and the state is kept.
  host.button.Enabled(-1);
  EXPECT_EQ(host.Look(), "Normal");
  EXPECT_EQ(host.button.ButtonState(), 2);
  EXPECT_FALSE(host.WhiteOnTop());  // painted in state 2
}

TEST(CommandStates, BeforeInitializeThePointerChangesNothingAndNoPollRuns) {
  CommandHost host;
  Reach(host, 0);
  EXPECT_EQ(host.platform.ActiveTimers(), 0u);
  EXPECT_EQ(host.Look(), "Normal");
  const int presents = host.Presents();
  host.Move();
  EXPECT_EQ(host.Presents(), presents);
  // After a focus change the state machine runs, but with the poll off a hover look stays.
  host.Focus(false);
  host.Move();
  EXPECT_EQ(host.Look(), "HighLight");
  host.PointerAway();
  host.platform.Advance(1000);
  EXPECT_EQ(host.button.ButtonState(), 2);
  host.button.Initialize();
  EXPECT_TRUE(host.platform.TimerActive(100));
  host.Move();
  EXPECT_EQ(host.button.ButtonState(), 2);
  Tick(host);
  EXPECT_EQ(host.button.ButtonState(), 1);
}

TEST(CommandStates, InitializeSetsTheStateWithoutPaintingSoTheNextFocusLossPaintsNothing) {
  CommandHost host;
  Reach(host, 3);
  const int presents = host.Presents();
  host.button.Initialize();
  EXPECT_EQ(host.button.ButtonState(), 1);
  EXPECT_EQ(host.Presents(), presents);
  host.Focus(false);
  EXPECT_EQ(host.Presents(), presents);
  EXPECT_EQ(host.Look(), "Selected");
}

TEST(CommandStates, ReadingFontColourEnabledOrAnOpaqueVisibleRestoresTheIdleLook) {
  for (int which = 0; which < 3; ++which) {
    SCOPED_TRACE(which);
    CommandHost host;
    Reach(host, 2);
    ASSERT_EQ(host.Look(), "HighLight");
    if (which == 0) {
      EXPECT_EQ(host.button.FontColour(), 0u);
    } else if (which == 1) {
      EXPECT_EQ(host.button.Enabled(), -1);
    } else {
      EXPECT_EQ(host.button.Visible(), 255);
    }
    EXPECT_EQ(host.Look(), "Normal");
    EXPECT_EQ(host.button.ButtonState(), 2);
    EXPECT_TRUE(host.notices.empty());
  }
  CommandHost host;
  Reach(host, 2);
  host.button.Visible(0);
  const int presents = host.Presents();
  EXPECT_EQ(host.button.Visible(), 0);
  EXPECT_EQ(host.Presents(), presents);
}

TEST(CommandStates, ANeverLoadedInstanceIsDisabledUntilEnabledIsRead) {
  testing::FakeFormsPlatform platform;
  Command button(platform, "Fresh");
  int clicks = 0;
  button.Click = [&] { ++clicks; };
  button.Initialize();
  button.OnMouseUp(kRightButton, 0, {});
  EXPECT_EQ(clicks, 0);
  EXPECT_EQ(button.Enabled(), -1);
  button.OnMouseUp(kRightButton, 0, {});
  EXPECT_EQ(clicks, 1);
}

TEST(CommandStates, TheGenericEnabledSwitchSetsTheProperty) {
  CommandHost host;
  Reach(host, 1);
  Control& control = host.button;
  control.SetEnabled(false);
  EXPECT_EQ(host.Look(), "Disable");
  EXPECT_EQ(host.notices, std::vector<std::string>{"Enabled"});
  host.Up();
  EXPECT_EQ(host.clicks, 0);
}

}  // namespace
}  // namespace vellora::shell
