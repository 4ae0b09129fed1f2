#include "renderer_program.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>

#include "fake_render_platform.h"
#include "tunnel_path.h"

namespace vellora::renderer {
namespace {

using testing::FakeRenderPlatform;
using testing::Key;
using testing::ProcessExit;
using testing::RecordingScene;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

constexpr auto kKeyDown = WindowEvent::Kind::KeyDown;
constexpr auto kKeyUp = WindowEvent::Kind::KeyUp;

using Log = std::vector<std::string>;
Log Join(std::initializer_list<Log> parts) {
  Log all;
  for (const Log& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}
// The end of every run: the cursor shown again and the render window taken down.
const Log kTeardown = {"ShowCursor true",      "DetachContext",       "DeleteGLContext",
                       "ReleaseDeviceContext", "DestroyRenderWindow", "UnregisterWindowClass"};
// One frame drawn on another monitor's window (numbered from 2) at the given clock.
Log MonitorFrame(int monitor, int64_t clock) {
  const std::string window = "Vellora_Tessel_" + std::to_string(monitor);
  return {"MakeContextCurrent " + window, "scene" + std::to_string(monitor) + " Draw " + std::to_string(clock),
          "SwapBuffers " + window};
}
WindowEvent CloseEvent() {
  WindowEvent close;
  close.kind = WindowEvent::Kind::Close;
  return close;
}

class RendererProgramTest : public ::testing::Test {
 protected:
  FakeRenderPlatform platform;
  RecordingScene scene{platform.log};
  RendererProgram program{platform, scene};

  // Cursor stays at the start point, and every pump reads a tick 16 ms later than the last.
  void SteadyFrames() {
    platform.cursorPositions = {{500, 400}};
    platform.beforePump = [tick = 1000u](FakeRenderPlatform& p) mutable { p.ticks = {tick += 16}; };
  }
  // Ends the loop after the given number of frames by moving the mouse far away.
  void EndAfterFrames(int frames) {
    platform.beforePump = [this, frames](FakeRenderPlatform& p) {
      if (p.framesSwapped == frames - 1) p.cursorPositions = {{1000, 1000}};
    };
  }
};

TEST_F(RendererProgramTest, OpensWindowContextTimerAndSceneInOrder) {
  ASSERT_TRUE(program.OpenRenderWindow());
  EXPECT_THAT(platform.log,
              ElementsAre("RegisterWindowClass", "QueryScreenMetrics", "CreateRenderWindow Vellora_Tessel 0,0 1280x1024",
                          "AcquireDeviceContext", "ChoosePixelFormat", "SetPixelFormat 7", "CreateGLContext",
                          "MakeContextCurrent", "StartTimer 1 500", "ShowAndFocusWindow", "ResizeScene 1280x1024",
                          "InitScene"));
  EXPECT_EQ(program.WindowHeight(), 1000 + 24);  // a maximised window plus one caption
}

struct FailureCase {
  const char* step;
  std::vector<std::string> teardown;  // what runs after the failing step
};

class OpenFailureTest : public RendererProgramTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(OpenFailureTest, UndoesWhatWasDoneAndRunsNothingElse) {
  platform.failingStep = GetParam().step;
  EXPECT_EQ(program.RunRenderer(), 0);

  const auto failed = std::find_if(platform.log.begin(), platform.log.end(),
                                   [&](const std::string& s) { return s.rfind(GetParam().step, 0) == 0; });
  ASSERT_NE(failed, platform.log.end());
  EXPECT_THAT(std::vector<std::string>(failed + 1, platform.log.end()), ElementsAreArray(GetParam().teardown));
  EXPECT_TRUE(scene.clocks.empty());
}

INSTANTIATE_TEST_SUITE_P(
    EachStep, OpenFailureTest,
    ::testing::Values(
        FailureCase{"RegisterWindowClass", {}},
        FailureCase{"CreateRenderWindow", {"UnregisterWindowClass"}},
        FailureCase{"AcquireDeviceContext", {"DestroyRenderWindow", "UnregisterWindowClass"}},
        FailureCase{"ChoosePixelFormat", {"ReleaseDeviceContext", "DestroyRenderWindow", "UnregisterWindowClass"}},
        FailureCase{"SetPixelFormat", {"ReleaseDeviceContext", "DestroyRenderWindow", "UnregisterWindowClass"}},
        FailureCase{"CreateGLContext", {"ReleaseDeviceContext", "DestroyRenderWindow", "UnregisterWindowClass"}},
        FailureCase{"MakeContextCurrent",
                    {"DetachContext", "DeleteGLContext", "ReleaseDeviceContext", "DestroyRenderWindow",
                     "UnregisterWindowClass"}}));

TEST_F(RendererProgramTest, SnapshotFailureInSceneInitEndsBeforeTheCursorIsHidden) {
  scene.onInit = [this] { platform.ExitProcess(1); };
  try {
    program.RunRenderer();
    FAIL() << "the process should have ended";
  } catch (const ProcessExit& exit) {
    EXPECT_EQ(exit.code, 1);
  }
  EXPECT_EQ(std::count(platform.log.begin(), platform.log.end(), "ShowCursor false"), 0);
  EXPECT_EQ(platform.log.back(), "ExitProcess 1");
}

TEST_F(RendererProgramTest, HidesCursorOnceAndShowsItAgainBeforeTeardown) {
  SteadyFrames();
  EndAfterFrames(3);
  program.RunRenderer();
  const auto first = std::find(platform.log.begin(), platform.log.end(), "ShowCursor false");
  ASSERT_NE(first, platform.log.end());
  EXPECT_EQ(Log(first, platform.log.end()), Join({{"ShowCursor false"}, kTeardown}));
  EXPECT_EQ(scene.clocks.size(), 3u);
}

TEST_F(RendererProgramTest, AnimClockHalvesItsDistanceToElapsedTimeEachFrame) {
  platform.cursorPositions = {{0, 0}};
  // Start tick 1000; frames at elapsed 100, 100 (tick stalled), 300, 301.
  platform.ticks = {1000, 1100, 1100, 1300, 1301};
  platform.beforePump = [](FakeRenderPlatform& p) {
    if (p.framesSwapped == 3) p.cursorPositions = {{99, 99}};
  };
  program.RunRenderer();
  EXPECT_THAT(scene.clocks, ElementsAre(50, 75, 187, 244));
}

// The view's change from one frame to the next: the roll folded into one turn, the travel into
// one segment length (the copies stepping forward is no move of the view).
struct FrameStep {
  double roll;
  double travel;
};
double Fold(double change, double period) { return change - period * std::round(change / period); }

// Runs the loop at steady 16 ms frames with the clock set `ahead` ms forward right after the loop
// began, and returns the steps of the frames after the smoothing has caught up with the jump.
std::vector<FrameStep> StepsWithClockAhead(uint64_t ahead, std::vector<int64_t>* clocks) {
  constexpr int kSettle = 48, kFrames = 300;
  constexpr uint64_t kStartTick = 0xFFFFFF00u;  // the system's tick count passes 2^32 meanwhile
  FakeRenderPlatform platform;
  RecordingScene scene{platform.log};
  RendererProgram program{platform, scene};
  platform.cursorPositions = {{0, 0}};
  platform.ticks = {kStartTick};
  platform.beforePump = [ahead](FakeRenderPlatform& p) {
    p.ticks = {kStartTick + ahead + 16u * static_cast<uint64_t>(p.framesSwapped + 1)};
    if (p.framesSwapped == kFrames - 1) p.cursorPositions = {{99, 99}};
  };
  program.RunRenderer();
  *clocks = std::vector<int64_t>(scene.clocks.begin() + kSettle, scene.clocks.end());
  std::vector<FrameStep> steps;
  for (size_t i = 1; i < clocks->size(); ++i) {
    const int64_t from = (*clocks)[i - 1], to = (*clocks)[i];
    steps.push_back({Fold(double(CameraRollDegrees(to)) - CameraRollDegrees(from), 360.0),
                     Fold(double(CameraTravelPastOffset(to)) - CameraTravelPastOffset(from), 4.0)});
  }
  return steps;
}

TEST(RendererLongRun, MotionStaysSmoothAndJumpFreeForWeeks) {
  std::vector<int64_t> clocks;
  const std::vector<FrameStep> firstHour = StepsWithClockAhead(0, &clocks);
  ASSERT_FALSE(firstHour.empty());
  const FrameStep reference = firstHour.front();
  EXPECT_NEAR(reference.roll, 16.0 / 70.0, 1e-4);
  EXPECT_NEAR(reference.travel, 16.0 / 400.0, 1e-5);

  // 150 frames of 16 ms before a wrap, so the frames measured run across it.
  const uint64_t beforeWrap = 150 * 16;
  const std::pair<const char*, uint64_t> cases[] = {
      {"first minutes", 0},
      {"1 hour", 3'600'000},
      {"1 day", 86'400'000},
      {"7 days", 604'800'000},
      {"24.8 days, across 2^31 ms", (uint64_t{1} << 31) - beforeWrap},
      {"49.7 days, across 2^32 ms", (uint64_t{1} << 32) - beforeWrap},
      {"60 days", 5'184'000'000},
  };
  for (const auto& [name, ahead] : cases) {
    const std::vector<FrameStep> steps = StepsWithClockAhead(ahead, &clocks);
    // The clock trails the elapsed time by one frame (16 or 17 ms: the halving truncates), as it
    // does in the first seconds.
    const int64_t elapsed = static_cast<int64_t>(ahead + 16 * 300);
    EXPECT_GE(elapsed - clocks.back(), 16) << name;
    EXPECT_LE(elapsed - clocks.back(), 17) << name;
    for (size_t i = 0; i < steps.size(); ++i) {
      ASSERT_NEAR(steps[i].roll, reference.roll, 0.01 * reference.roll) << name << ", frame " << i;
      ASSERT_NEAR(steps[i].travel, reference.travel, 0.01 * reference.travel) << name << ", frame " << i;
    }
  }
}

// The distance rule itself is FrameClock.AdvanceAndMouseTest's; here the loop applies it.
TEST_F(RendererProgramTest, AMoveFarEnoughFromTheStartPointEndsTheLoop) {
  for (const ScreenPoint to : {ScreenPoint{130, 130}, ScreenPoint{131, 131}}) {
    FakeRenderPlatform p;
    RecordingScene s{p.log};
    RendererProgram prog{p, s};
    p.cursorPositions = {{100, 100}, to};
    // Safety stop: a far move after 5 frames, so a wrong "keeps running" answer cannot hang.
    p.beforePump = [](FakeRenderPlatform& f) {
      if (f.framesSwapped == 5) f.cursorPositions = {{5000, 5000}};
    };
    prog.RunRenderer();
    EXPECT_EQ(p.framesSwapped == 1, to.x == 131) << to.x << "," << to.y;
  }
}

TEST_F(RendererProgramTest, MouseDistanceIsMeasuredFromStartNotFromThePreviousFrame) {
  // 20 px per frame in both directions: no single step exceeds 30, the sum does on frame 2.
  platform.cursorPositions = {{0, 0}, {20, 20}, {40, 40}, {60, 60}};
  program.RunRenderer();
  EXPECT_EQ(platform.framesSwapped, 2);

  // A position the system cannot tell at the start (XWayland before the compositor has told
  // it): the first one told is the start point, however far from the screen's centre.
  FakeRenderPlatform p;
  RecordingScene s{p.log};
  RendererProgram prog{p, s};
  p.cursorUnknownLooks = 2;
  p.cursorPositions = {{100, 100}, {120, 120}, {131, 131}};
  prog.RunRenderer();
  EXPECT_EQ(p.framesSwapped, 4);
}

TEST_F(RendererProgramTest, EscapeEndsAfterTheNextFrameOtherKeysDoNothing) {
  SteadyFrames();
  platform.queue = {Key(kKeyDown, 'A'), Key(kKeyDown, 27)};
  program.RunRenderer();
  // The two messages are taken one per pass, then one frame is drawn and the loop ends.
  EXPECT_EQ(platform.framesSwapped, 1);
  EXPECT_TRUE(program.KeyDown('A'));
}

TEST_F(RendererProgramTest, EscapeTappedWithinOneFrameEndsAfterTheNextFrame) {
  SteadyFrames();
  // Key-down and key-up both arrive before the next frame: a quick tap, or a slow frame.
  platform.queue = {Key(kKeyDown, 27), Key(kKeyUp, 27)};
  EndAfterFrames(4);
  program.RunRenderer();
  EXPECT_EQ(platform.framesSwapped, 1);
  EXPECT_FALSE(program.KeyDown(27));
}

TEST_F(RendererProgramTest, CloseRequestPostsQuitAndTheLoopEndsWhenQuitIsTaken) {
  SteadyFrames();
  platform.queue = {CloseEvent()};
  program.RunRenderer();
  EXPECT_EQ(platform.framesSwapped, 0);
  const auto quit = std::find(platform.log.begin(), platform.log.end(), "PostQuit");
  ASSERT_NE(quit, platform.log.end());
  EXPECT_EQ(*(quit + 1), "ShowCursor true");
  EXPECT_EQ(platform.log.back(), "UnregisterWindowClass");
}

// A scene of another monitor, logging into the platform's log under its monitor's number.
class MonitorScene final : public Scene {
 public:
  MonitorScene(std::vector<std::string>& log, size_t index) : log_(log), name_("scene" + std::to_string(index + 1)) {}
  void ResizeScene(int32_t width, int32_t height) override {
    log_.push_back(name_ + " Resize " + std::to_string(width) + "x" + std::to_string(height));
  }
  void InitScene() override { log_.push_back(name_ + " Init"); }
  void DrawScene(int64_t animClock) override { log_.push_back(name_ + " Draw " + std::to_string(animClock)); }

 private:
  std::vector<std::string>& log_;
  std::string name_;
};

class OtherMonitorsTest : public RendererProgramTest {
 protected:
  void SetUp() override {
    // Windows' virtual screen: one monitor left of and above the primary, one above it, rotated.
    platform.monitors = {{0, -1920, 1080, 1920, false}, {0, 0, 1280, 1024, true}, {-1024, -200, 1024, 768, false}};
    program.CoverOtherMonitors([this](size_t index) { return std::make_unique<MonitorScene>(platform.log, index); });
    SteadyFrames();
  }
  std::vector<std::string> LogFrom(const std::string& entry) const {
    const auto first = std::find(platform.log.begin(), platform.log.end(), entry);
    return {first, platform.log.end()};
  }
};

TEST_F(OtherMonitorsTest, EachOtherMonitorGetsItsOwnWindowAndSceneAfterTheFirstFrameAndDrawsAtTheSameClock) {
  platform.metrics.originX = 1280;  // on X the primary monitor need not lie at the origin
  EndAfterFrames(3);
  program.RunRenderer();
  EXPECT_EQ(platform.log[2], "CreateRenderWindow Vellora_Tessel 1280,0 1280x1024");
  // The render window's first frame comes first, exactly as with one monitor.
  EXPECT_EQ(scene.clocks.size(), 3u);
  EXPECT_EQ(LogFrom("Monitors"),
            Join({{"Monitors", "OpenMonitorWindow Vellora_Tessel_2 -1024,-200 1024x768", "scene2 Resize 1024x768",
                   "scene2 Init", "OpenMonitorWindow Vellora_Tessel_3 0,-1920 1080x1920", "scene3 Resize 1080x1920",
                   "scene3 Init", "MakeRenderContextCurrent"},
                  MonitorFrame(2, scene.clocks[1]), MonitorFrame(3, scene.clocks[1]), {"MakeRenderContextCurrent"},
                  // third frame, then the end: monitor windows go first
                  MonitorFrame(2, scene.clocks[2]), MonitorFrame(3, scene.clocks[2]),
                  {"MakeRenderContextCurrent", "CloseMonitorWindow Vellora_Tessel_2", "CloseMonitorWindow Vellora_Tessel_3"},
                  kTeardown}));
}

TEST_F(OtherMonitorsTest, EscapeOrACloseRequestOnAnotherMonitorEndsTheRunItsSizeStaysItsOwn) {
  WindowEvent size;
  size.kind = WindowEvent::Kind::Size;
  size.width = 768;
  size.height = 1024;
  platform.monitorQueue = {{"Vellora_Tessel_2", size}, {"Vellora_Tessel_2", Key(kKeyDown, 27)}};
  program.RunRenderer();
  // Frame 1, then the monitor windows open; the two events take two passes, then frame 2 ends it.
  EXPECT_EQ(platform.framesSwapped, 2);
  EXPECT_EQ(LogFrom("MakeRenderContextCurrent"),
            Join({{"MakeRenderContextCurrent", "MakeContextCurrent Vellora_Tessel_2", "scene2 Resize 768x1024",
                   "scene2 Draw " + std::to_string(scene.clocks[1]), "SwapBuffers Vellora_Tessel_2"},
                  MonitorFrame(3, scene.clocks[1]),
                  {"MakeRenderContextCurrent", "CloseMonitorWindow Vellora_Tessel_2", "CloseMonitorWindow Vellora_Tessel_3"},
                  kTeardown}));

  FakeRenderPlatform closing;
  closing.monitors = platform.monitors;
  RecordingScene closingScene{closing.log};
  RendererProgram closingProgram{closing, closingScene};
  closingProgram.CoverOtherMonitors([&closing](size_t i) { return std::make_unique<MonitorScene>(closing.log, i); });
  closing.cursorPositions = {{500, 400}};
  closing.monitorQueue = {{"Vellora_Tessel_3", CloseEvent()}};
  closingProgram.RunRenderer();
  EXPECT_EQ(closing.framesSwapped, 1);
  EXPECT_EQ(*(std::find(closing.log.begin(), closing.log.end(), "PostQuit") + 1), "CloseMonitorWindow Vellora_Tessel_2");
}

TEST_F(OtherMonitorsTest, AMonitorWhoseWindowCannotBeMadeStaysUncoveredTheOthersRunOn) {
  platform.failingStep = "OpenMonitorWindow Vellora_Tessel_2";
  EndAfterFrames(2);
  program.RunRenderer();
  EXPECT_EQ(platform.framesSwapped, 2);
  EXPECT_EQ(LogFrom("Monitors"),
            Join({{"Monitors", "OpenMonitorWindow Vellora_Tessel_2 -1024,-200 1024x768",
                   "OpenMonitorWindow Vellora_Tessel_3 0,-1920 1080x1920", "scene3 Resize 1080x1920", "scene3 Init",
                   "MakeRenderContextCurrent"},
                  MonitorFrame(3, scene.clocks[1]),
                  {"MakeRenderContextCurrent", "CloseMonitorWindow Vellora_Tessel_3"}, kTeardown}));
}

TEST_F(RendererProgramTest, WindowProcedureAnswers) {
  WindowEvent size;
  size.kind = WindowEvent::Kind::Size;
  size.width = 0x1'0320;  // only the low 16 bits count
  size.height = 0;
  WindowEvent titleTick;
  titleTick.kind = WindowEvent::Kind::Timer;
  titleTick.timerId = 1;
  WindowEvent otherTick = titleTick;
  otherTick.timerId = 2;
  WindowEvent other;
  WindowEvent bigKey = Key(kKeyDown, 300);

  EXPECT_TRUE(program.RenderWindowProc(size));
  EXPECT_TRUE(program.RenderWindowProc(titleTick));
  EXPECT_FALSE(program.RenderWindowProc(otherTick));
  EXPECT_FALSE(program.RenderWindowProc(other));
  EXPECT_TRUE(program.RenderWindowProc(bigKey));  // out-of-range codes are ignored, not stored
  EXPECT_THAT(platform.log, ElementsAre("ResizeScene 800x0", "SetWindowTitle Vellora_Tessel"));
}

}  // namespace
}  // namespace vellora::renderer
