#include "dialog/settings_dialog.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "common/cp932_text.h"
#include "common/shell_texts.h"
#include "fake_file_system.h"
#include "fake_forms_platform.h"
#include "settings/settings_variables.h"

namespace vellora::shell {
namespace {

using testing::FakeFileSystem;
using testing::FakeFormsPlatform;
using ::testing::ElementsAre;

const std::string kIniPath = "C:\\Vellora\\Vellora.ini";
const std::string kMusic = u8"C:\\音楽\\ソフト.mp3";

class SettingsDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    BgmMode = 0;
    BgmRepeatTrack = 0;
    BgmFile = kMusic;
    CursorStartX = CursorStartY = 0;
    platform.screen = {1024, 768};
    platform.cursor = {{500, 300}};
  }

  // Loads a dialog (it is shown only where a test needs its window on screen).
  SettingsDialog& Open(const std::string& homePage = "") {
    dialog = std::make_unique<SettingsDialog>(application, files, kIniPath, homePage);
    dialog->Load();
    return *dialog;
  }
  template <class T>
  T& Find(const char* name, int index = 0) {
    return *dynamic_cast<T*>(dialog->FindControl(name, index));
  }
  // Which option shows the selected mark ("-" for none), and whether the track box and "..."
  // are enabled: "1 box" means option 1 marked and the box enabled.
  std::string State() {
    std::string marked = "-";
    // The middle of the selected mark is blue, that of the other one light.
    const Rgb selected = Find<ImageControl>("Img_Ra", 1).Picture().Pixel(6, 6);
    for (int i = 0; i < 3; ++i)
      if (Find<ImageControl>("Img_BGM", i).Picture().Pixel(6, 6) == selected) marked = std::to_string(i);
    if (Find<ComboBox>("BGM_Repeat").Enabled()) marked += " box";
    if (Find<Command>("Cmd_BGM").CanTakeFocus()) marked += " file";
    return marked;
  }
  void Click(const char* button) { Find<Command>(button).Click(); }
  void MouseDownOn(const char* control, int index) {
    Control& c = *dialog->FindControl(control, index);
    c.onMouseDown(kRightButton, 1, {});
  }

  FakeFormsPlatform platform;
  FormsApplication application{platform};
  FakeFileSystem files;
  std::unique_ptr<SettingsDialog> dialog;
};

TEST_F(SettingsDialogTest, LoadShowsTheSettingsAndOptionsMoveTheMark) {
  struct Row {
    int16_t mode;
    const char* loaded;
  } rows[] = {{-1, "-"}, {0, "0"}, {1, "1 box"}, {2, "2 file"}, {3, "-"}};
  for (const Row& row : rows) {
    BgmMode = row.mode;
    Open();
    EXPECT_EQ(State(), row.loaded) << row.mode;
    // A mouse down on a mark or its label, any button, moves to that option from any state.
    MouseDownOn("lbl_BGM", 1);
    EXPECT_EQ(State(), "1 box");
    EXPECT_EQ(BgmMode, 1);
    MouseDownOn("Img_BGM", 2);
    EXPECT_EQ(State(), "2 file");
    MouseDownOn("lbl_BGM", 0);
    EXPECT_EQ(State(), "0");
    EXPECT_EQ(BgmMode, 0);
  }
  EXPECT_EQ(BgmFile, kMusic);  // options leave the file alone
}

TEST_F(SettingsDialogTest, LoadFillsTheControlsPlacesTheDialogAndZoomsFromThePointer) {
  BgmRepeatTrack = 12;
  Open();
  ComboBox& track = Find<ComboBox>("BGM_Repeat");
  EXPECT_EQ(track.Text(), "12");
  ASSERT_EQ(track.ListCount(), 31);
  EXPECT_EQ(track.Items()[0], "");
  EXPECT_EQ(track.Items()[30], "30");
  EXPECT_EQ(Find<Label>("lbl_Fname").Caption(), kMusic);
  for (Control* control : dialog->AllControls())
    if (auto* button = dynamic_cast<Command*>(control)) {
      EXPECT_EQ(button->ButtonState(), 1) << button->Name();
    }
  // 1024 x 768 pixels at 15 twips per pixel, less the dialog: (15360 - 7185) / 2, (11520 - 3780) / 3.
  EXPECT_EQ(dialog->LeftTwips(), 4087);
  EXPECT_EQ(dialog->TopTwips(), 2580);
  EXPECT_EQ(CursorStartX, 500);
  EXPECT_EQ(CursorStartY, 300);
  EXPECT_THAT(platform.log, ::testing::Contains("Zoom 500,300-500,300 to 272,172-751,424"));
  EXPECT_EQ(platform.log.back(), "BusyPointer off");
  EXPECT_EQ(platform.WindowTitled(kSettingsTitle)->icon.Width(), 32);

  // Under a frame the frame's corner is placed: (15360 - 7185 - 6 * 15) / 2, (11520 - 3780 - 25 * 15) / 3.
  platform.dialogFrame = {3, 22, 3, 3};
  Open();
  EXPECT_EQ(dialog->LeftTwips(), 4042 + 3 * 15);
  EXPECT_EQ(dialog->TopTwips(), 2455 + 22 * 15);
  platform.dialogFrame = {};

  // On X the primary monitor may lie right of another one: the dialog is placed on it.
  platform.monitors = {{1280, 0, 2304, 768}, {0, 0, 1280, 1024}};
  Open();
  EXPECT_EQ(dialog->LeftTwips(), 1280 * 15 + 4087);
  EXPECT_EQ(dialog->TopTwips(), 2580);
  platform.monitors = {};

  BgmRepeatTrack = 0;
  platform.cursor = {{40000, 7}};  // a coordinate beyond 16 bits leaves its old value
  Open();
  EXPECT_EQ(Find<ComboBox>("BGM_Repeat").Text(), "");
  EXPECT_EQ(CursorStartX, 500);
  EXPECT_EQ(CursorStartY, 7);
}

TEST_F(SettingsDialogTest, SaveWritesTheThreeKeysInOrderAndCancelWritesNothing) {
  const std::string keys[3] = {"BGM\x8B\xE6\x95\xAA", "BGM\xD8\xCB\xDF\xB0\xC4", "BGM\xCC\xA7\xB2\xD9"};
  const auto saved = [&](const char* mode, const char* track) {
    return "[Section]\r\n" + keys[0] + "=" + mode + "\r\n" + keys[1] + "=" + track + "\r\n" + keys[2] + "=" +
           Utf8ToCp932(kMusic) + "\r\n";
  };
  struct Row {
    const char* typed;
    const char* stored;
  } rows[] = {{"", " 0"}, {"5.5", " 6"}, {"4.5", " 4"}, {"45", " 45"}, {"abc", " 0"}, {"99999", " 0"}, {" -3 ", "-3"}};
  for (const Row& row : rows) {
    files.files.clear();
    BgmMode = 3;  // saved as it stands without a click
    Open();
    dialog->Show();
    Find<ComboBox>("BGM_Repeat").SetText(row.typed);
    Click("Cmd_Set");
    EXPECT_EQ(files.files.at(kIniPath), saved(" 3", row.stored)) << row.typed;
    EXPECT_FALSE(dialog->Loaded());
  }
  EXPECT_EQ(files.madeFolders, std::set<std::string>{"C:\\Vellora"});  // made if missing
  EXPECT_EQ(platform.log.back(), "Zoom 272,172-751,424 to 500,300-500,300");
  // The track is read in the user's number format.
  platform.numberFormat.decimalSeparator = ",";
  for (const Row& row : {Row{"5,5", " 6"}, Row{"5.5", " 0"}}) {
    Open();
    Find<ComboBox>("BGM_Repeat").SetText(row.typed);
    Click("Cmd_Set");
    EXPECT_EQ(files.files.at(kIniPath), saved(" 3", row.stored)) << row.typed;
  }

  // An option click, then "ｷｬﾝｾﾙ" or the close box: not a byte written.
  const std::string before = files.files.at(kIniPath);
  for (bool closeBox : {false, true}) {
    Open();
    dialog->Show();
    MouseDownOn("Img_BGM", 1);
    closeBox ? dialog->OnCloseRequested() : Click("Cmd_Can");
    EXPECT_FALSE(dialog->Loaded());
    EXPECT_EQ(files.files.at(kIniPath), before);
  }
}

TEST_F(SettingsDialogTest, TheFileButtonAndTheHomePageButton) {
  BgmMode = 2;
  Open("https://example.org/vellora");
  platform.log.clear();
  Click("Cmd_BGM");  // cancelled
  EXPECT_EQ(BgmFile, kMusic);
  // Over 254 bytes, or a path that code page 932 would give back as another one: refused with a
  // message, the previous choice kept.
  for (const std::string& refused :
       {"/home/user/Music/" + std::string(240, 'x') + ".wav", std::string(u8"/home/user/夏祭り〜remix〜.wav")}) {
    platform.chosenFile = refused;
    Click("Cmd_BGM");
    EXPECT_EQ(BgmFile, kMusic);
    EXPECT_EQ(Find<Label>("lbl_Fname").Caption(), kMusic);
  }
  platform.chosenFile = "/home/user/Music/Song.wav";
  Click("Cmd_BGM");
  EXPECT_EQ(BgmFile, "/home/user/Music/Song.wav");
  EXPECT_EQ(Find<Label>("lbl_Fname").Caption(), BgmFile);
  Click("Cmd_Etc");
  const std::string choose = "ChooseOpenFile " + std::to_string(dialog->Window()->Handle()) +
                             u8" ﾌｧｲﾙを開く | BGMﾌｧｲﾙ (MP3 WAV) | *.MP3;*.WAV";
  const std::string refusal =
      u8"MessageBox Vellora(ScreenSaver): このﾌｧｲﾙは選べません。ﾊﾟｽが長すぎるか、使えない文字が含まれています。";
  EXPECT_THAT(platform.log, ElementsAre(choose, choose, refusal, choose, refusal, choose, "BusyPointer on",
                                        "OpenDocument https://example.org/vellora", "BusyPointer off"));
  EXPECT_TRUE(dialog->Loaded());  // the dialog stays

  Open("");
  platform.log.clear();
  Click("Cmd_Etc");
  EXPECT_THAT(platform.log, ElementsAre("BusyPointer on", "BusyPointer off"));
}

}  // namespace
}  // namespace vellora::shell
