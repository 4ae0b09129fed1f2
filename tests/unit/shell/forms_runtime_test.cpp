#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "fake_forms_platform.h"
#include "runtime/combo_box.h"
#include "runtime/form.h"
#include "runtime/form_timer.h"
#include "runtime/label.h"
#include "common/cp932_table.h"
#include "runtime/open_file_choice.h"
#include "runtime/picture_controls.h"
#include "runtime/picture_panel.h"
#include "runtime/user_control.h"
#include "runtime/property_bag.h"
#include "runtime/screen_twips.h"
#include "runtime/text_wrap.h"

namespace vellora::shell {
namespace {

using testing::FakeFormsPlatform;
using testing::FakeTextRenderer;
using ::testing::ElementsAre;

class RecordingForm : public Form {
 public:
  RecordingForm(FormsApplication& app, std::vector<std::string>& log)
      : Form(app, FormDesign{"Test Form", FrameStyle::FixedDialog, {10, 20, 30}, 1500, 750}), log_(log) {}
  using Container::ResizeSurface;

 private:
  void FormLoad() override { log_.push_back("load"); }
  void FormQueryUnload() override { log_.push_back("query-unload"); }
  void FormUnload() override { log_.push_back("unload"); }
  void FormResize() override { log_.push_back("resize " + std::to_string(ScaleWidth()) + "x" + std::to_string(ScaleHeight())); }
  std::vector<std::string>& log_;
};

class FormsRuntimeTest : public ::testing::Test {
 protected:
  FakeFormsPlatform platform;
  FormsApplication application{platform};
  std::vector<std::string> log;
  RecordingForm form{application, log};
};

TEST_F(FormsRuntimeTest, LoadMakesAHiddenTitledWindowAndUnloadRunsBothHandlersInOrder) {
  form.Load();
  ASSERT_TRUE(form.Loaded());
  const auto* window = platform.WindowTitled("Test Form");
  ASSERT_NE(window, nullptr);
  EXPECT_FALSE(window->visible);
  EXPECT_EQ(window->client.width, 100);  // 1500 twips at 15 twips per pixel
  EXPECT_TRUE(platform.FindWindowByTitle("Test Form"));
  EXPECT_EQ(application.LoadedForms(), 1u);

  form.Show();
  EXPECT_TRUE(window->visible);
  form.OnCloseRequested();  // the close box unloads
  EXPECT_FALSE(form.Loaded());
  EXPECT_EQ(application.LoadedForms(), 0u);
  EXPECT_THAT(log, ElementsAre("load", "resize 100x50", "query-unload", "unload"));
  EXPECT_FALSE(platform.FindWindowByTitle("Test Form"));
}

TEST_F(FormsRuntimeTest, ModalShowReturnsWhenTheFormIsGone) {
  platform.loopScript = {[&] { log.push_back("user works"); }, [&] { form.Unload(); },
                         [&] { log.push_back("never reached"); }};
  form.Show(true);
  EXPECT_FALSE(form.Loaded());
  EXPECT_THAT(log, ElementsAre("load", "resize 100x50", "user works", "query-unload", "unload"));
}

TEST_F(FormsRuntimeTest, ApplicationLoopEndsWithTheLastForm) {
  form.Load();
  platform.loopScript = {[&] { form.Unload(); }, [&] { log.push_back("never reached"); }};
  application.Run();
  EXPECT_EQ(platform.loopScript.size(), 1u);
  application.Run();  // nothing loaded: returns at once
  EXPECT_EQ(platform.loopScript.size(), 1u);
}

// The form and each picture panel learn their size once, when the form is first shown, in the
// runtime itself: the real systems report only later changes. The walk finds nested controls
// and control-array elements, and Tab moves the focus through the given order, passing over
// controls that cannot take it.
TEST_F(FormsRuntimeTest, FirstShowSizesTheFormAndItsPanelsAndTabFollowsTheOrder) {
  PicturePanel panel(platform, "Pic_C", 0);
  panel.SetBounds({150, 150, 600, 300});
  panel.onResize = [&] { log.push_back("panel " + std::to_string(panel.ScaleWidth())); };
  ComboBox combo("BGM_Repeat", 0);
  UserControl inPanel(platform, "Cmd_BGM", 0), first(platform, "Cmd_Set", 0), second(platform, "Cmd_Can", 0);
  Label mark("lbl_BGM", 2);
  panel.Add(combo);
  panel.Add(inPanel);
  panel.Add(mark);
  form.Add(panel);
  form.Add(first);
  form.Add(second);
  form.SetTabOrder({&combo, &inPanel, &first, &second});
  combo.SetEnabled(false);

  std::vector<std::string> names;
  for (Control* control : form.AllControls()) names.push_back(control->Name());
  EXPECT_THAT(names, ElementsAre("Pic_C", "BGM_Repeat", "Cmd_BGM", "lbl_BGM", "Cmd_Set", "Cmd_Can"));
  EXPECT_EQ(form.FindControl("lbl_BGM", 2), &mark);
  EXPECT_EQ(form.FindControl("lbl_BGM", 1), nullptr);

  form.Load();
  EXPECT_THAT(log, ElementsAre("load"));
  form.Show();
  form.Show();
  EXPECT_THAT(log, ElementsAre("load", "resize 100x50", "panel 40"));
  EXPECT_TRUE(inPanel.HasFocus());  // the first in the order that can take it

  const auto tab = [&](bool backward) {
    EXPECT_TRUE(form.OnTabKey(backward));
    for (Control* c : {static_cast<Control*>(&combo), static_cast<Control*>(&inPanel), static_cast<Control*>(&first),
                       static_cast<Control*>(&second)})
      if (c->HasFocus()) return c->Name();
    return std::string("none");
  };
  EXPECT_EQ(tab(false), "Cmd_Set");
  EXPECT_EQ(tab(false), "Cmd_Can");
  EXPECT_EQ(tab(false), "Cmd_BGM");  // round, past the disabled box
  combo.SetEnabled(true);
  EXPECT_EQ(tab(true), "BGM_Repeat");
  EXPECT_EQ(tab(true), "Cmd_Can");
}

TEST_F(FormsRuntimeTest, WindowlessControlsAreDrawnOverTheRetainedPicture) {
  Label centred("lbl", 15);
  centred.SetBounds({150, 150, 1050, 300});  // 10,10 to 80,30 in pixels
  centred.SetAlignment(Label::Alignment::Centre);
  Label fitted("lbl_BGM", 1);
  fitted.SetBounds({150, 450, 15, 15});
  ImageControl image("Img_BGM", 0);
  image.SetBounds({1200, 150, 45, 45});  // 3 x 3 pixels: clips the 4 x 4 picture
  image.SetPicture(Canvas(4, 4, {0, 200, 0}));
  form.Add(centred);
  form.Add(fitted);
  form.Add(image);
  form.Show();
  // Set in any order, after the form is up: each change refits and shows at once.
  fitted.SetCaption(u8"無し");
  fitted.SetAutoSize(true);
  centred.SetCaption("ab");
  centred.SetForeColour({255, 255, 255});

  const Canvas& shown = platform.WindowTitled("Test Form")->presented;
  // Centred: two 7-pixel cells in a 70-pixel box start at 10 + 28.
  EXPECT_EQ(shown.Pixel(10 + 28 + 1, 12), (Rgb{255, 255, 255}));
  EXPECT_EQ(shown.Pixel(10 + 27, 12), (Rgb{10, 20, 30}));
  // Auto-sized to two characters of the fake font.
  EXPECT_EQ(fitted.PixelBounds().Width(), 2 * FakeTextRenderer::kCellWidth);
  EXPECT_EQ(shown.Pixel(11, 32), (Rgb{0, 0, 0}));
  // The picture at its own size, clipped by the control.
  EXPECT_EQ(shown.Pixel(82, 12), (Rgb{0, 200, 0}));
  EXPECT_EQ(shown.Pixel(83, 13), (Rgb{10, 20, 30}));
  // The retained picture itself is untouched by the controls.
  EXPECT_EQ(form.Surface().Pixel(11, 12), (Rgb{10, 20, 30}));
}

// A caption wider than its label goes on further lines, as the platforms' labels wrap it: at
// spaces, inside a word longer than a line (between characters, not bytes), and always at a
// line break. The fake's characters are 7 pixels wide.
TEST_F(FormsRuntimeTest, LabelsWrapACaptionWiderThanThemselves) {
  const auto cells = [](const std::string& text) { return FakeTextRenderer().Measure(text, {}).width; };
  struct Case {
    std::string text;
    int32_t width;
    std::vector<std::string> lines;
  };
  for (const Case& c : {Case{"abc def", 49, {"abc def"}}, Case{"abc def ghi", 49, {"abc def", "ghi"}},
                        Case{"C:\\Music\\a.mp3", 35, {"C:\\Mu", "sic\\a", ".mp3"}},
                        Case{"ab C:\\Music", 35, {"ab", "C:\\Mu", "sic"}},
                        Case{u8"無し無し無し", 20, {u8"無し", u8"無し", u8"無し"}},
                        Case{"ab\r\ncd", 70, {"ab", "cd"}}, Case{"ab", 0, {"a", "b"}}})
    EXPECT_EQ(WrapText(c.text, c.width, cells), c.lines) << c.text << " in " << c.width;

  // The lines one under the other inside the frame; a third one is clipped by the box.
  Label path("lbl_Fname", 0);
  path.SetBorder(true);
  path.SetBounds({0, 0, 42 * 15, 30 * 15});  // 5 characters (not 6) and two lines inside the frame
  path.SetForeColour({255, 255, 255});
  path.SetCaption("abcdefghijkl");
  form.Add(path);
  form.Show();
  const Canvas& shown = platform.WindowTitled("Test Form")->presented;
  EXPECT_EQ(shown.Pixel(2 + 4 * 7 + 1, 2 + 2), (Rgb{255, 255, 255}));  // "e", the last of line 1
  EXPECT_EQ(shown.Pixel(2 + 5 * 7 + 2, 2 + 2), (Rgb{10, 20, 30}));     // no "f" after it
  EXPECT_EQ(shown.Pixel(2 + 1, 2 + 13 + 2), (Rgb{255, 255, 255}));     // "f" starts line 2
  EXPECT_EQ(shown.Pixel(2 + 1, 30 + 1), (Rgb{10, 20, 30}));            // below the box: clipped
}

TEST_F(FormsRuntimeTest, MouseDownGoesToTheWindowlessControlUnderThePointer) {
  ImageControl mark("Img_BGM", 2);
  mark.SetBounds({300, 300, 195, 195});
  int hits = 0;
  mark.onMouseDown = [&](int button, int, PixelPoint) { hits += button; };
  form.Add(mark);
  form.Show();
  form.OnMouseDown(kRightButton, 0, {25, 25});
  form.OnMouseDown(kLeftButton, 0, {5, 5});
  EXPECT_EQ(hits, kRightButton);
  mark.SetEnabled(false);
  form.OnMouseDown(kLeftButton, 0, {25, 25});
  EXPECT_EQ(hits, kRightButton);
}

TEST_F(FormsRuntimeTest, ComboBoxKeepsItsStateAcrossTheNativeControl) {
  ComboBox combo("BGM_Repeat", 0);
  combo.SetText("5");
  combo.AddItem("");
  combo.AddItem("1");
  form.Add(combo);
  EXPECT_EQ(combo.Text(), "5");
  form.Load();
  EXPECT_EQ(combo.Text(), "5");
  combo.SetText("45");
  EXPECT_EQ(combo.Text(), "45");
  EXPECT_EQ(combo.ListCount(), 2);
}

TEST_F(FormsRuntimeTest, TimersTickOnlyWhileEnabledWithANonZeroInterval) {
  int ticks = 0;
  FormTimer timer(platform, 100, false, [&] { ++ticks; });
  platform.Advance(500);
  EXPECT_EQ(ticks, 0);
  timer.SetEnabled(true);
  platform.Advance(350);
  EXPECT_EQ(ticks, 3);
  timer.SetInterval(0);
  platform.Advance(500);
  EXPECT_EQ(ticks, 3);
  timer.SetInterval(50);
  platform.Advance(100);
  EXPECT_EQ(ticks, 5);
  timer.SetEnabled(false);
  EXPECT_EQ(platform.ActiveTimers(), 0u);
}

TEST_F(FormsRuntimeTest, OuterSizeAndPlacementCountTheFrameAndTheIconReachesTheWindow) {
  EXPECT_EQ(form.OuterWidthTwips(), 1500);  // not loaded yet: no frame is known
  platform.screen = {800, 600};
  platform.dialogFrame = {3, 22, 4, 5};
  FormDesign design{"Framed", FrameStyle::FixedDialog, {}, 1500, 750};
  design.icon = Canvas(32, 32, {14, 22, 70});
  Form framed(application, design);
  framed.Load();
  EXPECT_EQ(ScreenWidthTwips(platform), 12000);
  EXPECT_EQ(ScreenHeightTwips(platform), 9000);
  EXPECT_EQ(framed.OuterWidthTwips(), 1500 + 7 * 15);
  EXPECT_EQ(framed.OuterHeightTwips(), 750 + 27 * 15);
  framed.MoveOuter(1500, 300);
  const auto* window = platform.WindowTitled("Framed");
  const PixelRect outer = window->ScreenRect();
  EXPECT_EQ(outer.left, 100);
  EXPECT_EQ(outer.top, 20);
  EXPECT_EQ(window->position.x, 103);
  EXPECT_EQ(window->client.width, 100);
  EXPECT_EQ(window->icon.Pixel(31, 31), (Rgb{14, 22, 70}));
  framed.Unload();
}

TEST_F(FormsRuntimeTest, OpenFileChoiceTakesOnlyPathsThatComeBackWholeFromTheNarrowBuffer) {
  form.Load();
  const std::string kanji = u8"音", katakana = u8"ﾌ";  // 2 bytes and 1 byte in code page 932
  const auto repeat = [](const std::string& text, size_t times) {
    std::string result;
    for (size_t i = 0; i < times; ++i) result += text;
    return result;
  };
  constexpr FileChoice kTaken = FileChoice::Taken, kRefused = FileChoice::Refused;
  const struct {
    std::string chosen;  // empty: the user cancels
    FileChoice choice;
  } cases[] = {
      {"", FileChoice::Cancelled},
      {u8"C:\\音楽\\曲.MP3", kTaken},
      {repeat("a", 254), kTaken},
      {repeat("a", 255), kRefused},
      {repeat(kanji, 127), kTaken},
      {repeat(kanji, 127) + "a", kRefused},
      {repeat(katakana, 254), kTaken},  // 762 bytes of UTF-8, 254 of code page 932
      {u8"C:\\한국\\a.mp3", kRefused},   // not in code page 932
      {"/home/a/\xE9t\xE9.wav", kRefused},  // not UTF-8
      // Second byte 5C, the byte of "\\": still the same characters when read back.
      {u8"/home/a/ソ表能/ソフト.wav", kTaken},
  };
  for (const auto& c : cases) {
    platform.chosenFile = c.chosen;
    std::string path = "unchanged";
    EXPECT_EQ(ChooseOpenFileFitting(platform, form.Window(), u8"ﾌｧｲﾙを開く", u8"BGMﾌｧｲﾙ (MP3 WAV)", "*.MP3;*.WAV", path),
              c.choice)
        << c.chosen.size() << " bytes: " << c.chosen.substr(0, 20);
    EXPECT_EQ(path, c.choice == kTaken ? c.chosen : "unchanged");
  }
  EXPECT_EQ(platform.log.back(), "ChooseOpenFile " + std::to_string(form.Window()->Handle()) +
                                     u8" ﾌｧｲﾙを開く | BGMﾌｧｲﾙ (MP3 WAV) | *.MP3;*.WAV");

  // Every character that code page 932 writes as the code of another one would come back as
  // that other character: a different path, or one with a new folder separator.
  for (size_t i = 0; i < cp932::kOneWayMappingCount; ++i) {
    std::string character;
    const char32_t c = cp932::kOneWayMappings[i].codePoint;
    if (c < 0x800) {
      character = {static_cast<char>(0xC0 | (c >> 6)), static_cast<char>(0x80 | (c & 0x3F))};
    } else {
      character = {static_cast<char>(0xE0 | (c >> 12)), static_cast<char>(0x80 | ((c >> 6) & 0x3F)),
                   static_cast<char>(0x80 | (c & 0x3F))};
    }
    const std::string chosen = u8"/home/a/夏祭り" + character + "remix.wav";
    EXPECT_FALSE(FitsNarrowBuffer(chosen)) << chosen;
  }
  EXPECT_EQ(cp932::kOneWayMappingCount, 9u);  // 〜 ‖ − ¢ £ ¬ — ¥ ‾
}

TEST(PropertyBag, KeysIgnoreCaseAndDefaultsAreNotStored) {
  PropertyBag bag;
  bag.Write("Caption", "Command1", "Command1");
  EXPECT_FALSE(bag.Has("caption"));
  bag.Write("Caption", "OK", "Command1");
  EXPECT_EQ(bag.Read("CAPTION", "x"), "OK");
  bag.Write("caption", "Command1", "Command1");
  EXPECT_EQ(bag.Size(), 0u);
  EXPECT_EQ(bag.Read("Caption", "fallback"), "fallback");
}

TEST(Canvas, LinesRectanglesGradientAndStretch) {
  Canvas c(10, 6, {1, 1, 1});
  c.DrawLine(0, 2, 10, 2, {9, 9, 9});
  EXPECT_EQ(c.Pixel(9, 2), (Rgb{9, 9, 9}));
  c.DrawLine(3, 0, 3, 4, {7, 7, 7});  // the end point is not drawn
  EXPECT_EQ(c.Pixel(3, 3), (Rgb{7, 7, 7}));
  EXPECT_EQ(c.Pixel(3, 4), (Rgb{1, 1, 1}));
  c.FillRect({-5, -5, 2, 1}, {5, 5, 5});  // clipped, no crash
  EXPECT_EQ(c.Pixel(1, 0), (Rgb{5, 5, 5}));

  Canvas g(2, 4);
  g.FillVerticalGradient({0, 0, 2, 4}, {0, 0, 0}, {200, 100, 40});
  EXPECT_EQ(g.Pixel(0, 0), (Rgb{0, 0, 0}));
  EXPECT_EQ(g.Pixel(1, 2), (Rgb{100, 50, 20}));
  EXPECT_EQ(g.Pixel(1, 3), (Rgb{150, 75, 30}));  // the bottom colour itself is never reached

  Canvas small(2, 1);
  small.SetPixel(1, 0, {50, 60, 70});
  Canvas big(4, 2);
  big.StretchCopy(small, {0, 0, 2, 1}, {0, 0, 4, 2});
  EXPECT_EQ(big.Pixel(3, 1), (Rgb{50, 60, 70}));
  EXPECT_EQ(big.Pixel(1, 1), (Rgb{0, 0, 0}));
}

}  // namespace
}  // namespace vellora::shell
