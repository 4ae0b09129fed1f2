#include "dialog/settings_dialog.h"

#include "assets/embedded_assets.h"
#include "common/number_conversions.h"
#include "common/shell_texts.h"
#include "controls/property_text.h"
#include "cursor_point/cursor_start.h"
#include "cursor_point/zoom_helpers.h"
#include "dialog/sine_gradient.h"
#include "runtime/open_file_choice.h"
#include "runtime/picture_decoder.h"
#include "runtime/screen_twips.h"
#include "settings/settings_store.h"
#include "settings/settings_variables.h"

namespace vellora::shell {
namespace {

// The embedded pictures of the two option marks and of the dialog's icon.
constexpr const char* kOptionMarkOffFile = "option_mark_off.png";
constexpr const char* kOptionMarkOnFile = "option_mark_on.png";
constexpr const char* kIconFile = "vellora_icon.png";

constexpr Rgb kDesignBackColour{192, 192, 192};
constexpr Rgb kPanelBackColour{224, 224, 224};
constexpr Rgb kWhite{255, 255, 255};
constexpr int32_t kClientWidthTwips = 7185, kClientHeightTwips = 3780;

FontSpec PanelFont() {
  FontSpec font;
  font.face = "Tahoma";
  font.points = 8.25;
  font.charset = 0;
  return font;
}

// A Command button as the design stores it: its caption and the dialog's font.
void Design(Command& button, const char* caption, TwipsRect bounds) {
  button.Properties().Write("Caption", caption, "Command");
  button.Properties().Write("Font", FontText(FontSpec{}), "");
  button.SetBounds(bounds);
}

void DesignLabel(Label& label, const char* caption, TwipsRect bounds, bool autoSize) {
  label.SetBounds(bounds);
  label.SetCaption(caption);
  label.SetAutoSize(autoSize);
}

Canvas EmbeddedPicture(const char* name) {
  Canvas picture;
  DecodePicture(EmbeddedFileBytes(name), picture);
  return picture;
}

FormDesign DialogDesign() {
  FormDesign design{kSettingsTitle, FrameStyle::FixedDialog, kDesignBackColour, kClientWidthTwips, kClientHeightTwips};
  design.icon = EmbeddedPicture(kIconFile);
  return design;
}

}  // namespace

namespace detail {
SettingsDialogControls::SettingsDialogControls(FormsPlatform& platform)
    : picC(platform, "Pic_C", 0),
      cmdBgm(platform, "Cmd_BGM"),
      cmdEtc(platform, "Cmd_Etc"),
      cmdSet(platform, "Cmd_Set"),
      cmdCan(platform, "Cmd_Can") {}
}  // namespace detail

SettingsDialog::SettingsDialog(FormsApplication& application, FileSystem& files, std::string settingsPath,
                               std::string homePage)
    : SettingsDialogControls(application.Platform()),
      Form(application, DialogDesign()),
      files_(files),
      settingsPath_(std::move(settingsPath)),
      homePage_(std::move(homePage)) {
  // The panel and what lies in it, in twips from the panel's corner.
  picC.SetBounds({180, 240, 6795, 2535});
  picC.SetBackColour(kPanelBackColour);
  picC.SetFont(PanelFont());
  Add(picC);
  shape3.SetBounds({300, 300, 1695, 315});
  picC.Add(shape3);
  DesignLabel(lblTitle, "BGM", {300, 360, 1665, 195}, false);
  lblTitle.SetAlignment(Label::Alignment::Centre);
  picC.Add(lblTitle);
  const char* optionCaptions[3] = {u8"無し", u8"音楽CD", u8"MP3、WAV"};
  const int32_t optionTops[3] = {1140, 840, 1440};
  const int32_t optionLabelWidths[3] = {345, 645, 900};
  for (int i = 0; i < 3; ++i) {
    imgBgm[i].SetBounds({300, optionTops[i], 195, 195});
    imgBgm[i].onMouseDown = [this, i](int, int, PixelPoint) { SelectOption(i); };
    picC.Add(imgBgm[i]);
    DesignLabel(lblBgm[i], optionCaptions[i], {540, optionTops[i], optionLabelWidths[i], 195}, true);
    lblBgm[i].onMouseDown = [this, i](int, int, PixelPoint) { SelectOption(i); };
    picC.Add(lblBgm[i]);
  }
  bgmRepeat.SetBounds({1380, 780, 615, 300});
  picC.Add(bgmRepeat);
  DesignLabel(lblRepeat, u8"曲目をﾘﾋﾟｰﾄ", {2040, 840, 990, 195}, true);
  picC.Add(lblRepeat);
  Design(cmdBgm, "...", {540, 1740, 435, 315});
  cmdBgm.Click = [this] { ChooseFile(); };
  picC.Add(cmdBgm);
  DesignLabel(lblFname, "", {1020, 1740, 5355, 435}, false);
  lblFname.SetBorder(true);
  picC.Add(lblFname);

  // On the form.
  DesignLabel(lblAbout, "Designed by n-orbe Ver.1.0.0", {180, 2940, 2475, 195}, true);
  lblAbout.SetForeColour(kWhite);
  Add(lblAbout);
  Design(cmdEtc, u8"その他の作品", {2880, 3000, 1875, 375});
  cmdEtc.Click = [this] { OpenHomePage(); };
  Add(cmdEtc);
  Design(cmdSet, u8"設定", {4800, 3000, 1095, 375});
  cmdSet.Click = [this] { Save(); };
  Add(cmdSet);
  Design(cmdCan, u8"ｷｬﾝｾﾙ", {5940, 3000, 1035, 375});
  cmdCan.Click = [this] { Unload(); };
  Add(cmdCan);
  // Outside the client area: they only hold the two option marks.
  imgRa[0].SetBounds({8040, 300, 180, 180});
  imgRa[0].SetPicture(EmbeddedPicture(kOptionMarkOffFile));
  imgRa[1].SetBounds({8040, 600, 180, 180});
  imgRa[1].SetPicture(EmbeddedPicture(kOptionMarkOnFile));
  Add(imgRa[0]);
  Add(imgRa[1]);

  SetTabOrder({&bgmRepeat, &cmdBgm, &cmdSet, &cmdCan, &cmdEtc});
}

SettingsDialog::~SettingsDialog() {
  // The zoom and the handlers need the controls, which go after the form: unload first.
  Unload();
}

void SettingsDialog::FormLoad() {
  FormsPlatform& platform = Platform();
  // Centred across the screen, its top a third of the free height down, frame included; each
  // free length is rounded (halves to even) before the whole-number division. The screen is the
  // primary monitor, which on X need not lie at the desktop's origin.
  const double freeWidth = ScreenWidthTwips(platform) - OuterWidthTwips();
  const double freeHeight = ScreenHeightTwips(platform) - OuterHeightTwips();
  const auto left = RoundToInt32(freeWidth), top = RoundToInt32(freeHeight);
  const PixelRect primary = platform.Monitors().front();
  if (left && top)
    MoveOuter(PixelsToTwips(primary.left, TwipsPerPixelX()) + *left / 2,
              PixelsToTwips(primary.top, TwipsPerPixelY()) + *top / 3);

  SetCommandControls(true, true);
  ShowOption(BgmMode);
  bgmRepeat.SetText(FormatDigitsPattern(BgmRepeatTrack));
  for (int i = 0; i <= 30; ++i) bgmRepeat.AddItem(FormatDigitsPattern(i));
  lblFname.SetCaption(BgmFile);

  ApiResult = NoteCursorStart(platform) ? 1 : 0;
  ZoomOpen(platform, Window()->Handle());
  platform.SetBusyPointer(false);
}

void SettingsDialog::FormResize() {
  PaintSineGradient(*this, DialogGradientColour);
  PaintSineGradient(picC, PanelGradientColour);
  picC.Refresh();
}

void SettingsDialog::FormUnload() {
  if (Window() != nullptr) ZoomClose(Platform(), Window()->Handle());
}

void SettingsDialog::SetCommandControls(bool initialise, bool enable) {
  for (Control* control : AllControls()) {
    auto* button = dynamic_cast<Command*>(control);
    if (button == nullptr) continue;
    if (initialise) {
      button->Initialize();
    } else {
      button->Enabled(static_cast<int16_t>(enable ? -1 : 0));
    }
  }
}

void SettingsDialog::ShowOption(int option) {
  cmdBgm.Enabled(0);
  bgmRepeat.SetEnabled(false);
  for (ImageControl& mark : imgBgm) mark.SetPicture(imgRa[0].Picture());
  // A mode from the file outside 0 to 2 has no mark: none is shown.
  if (option < 0 || option > 2) return;
  imgBgm[option].SetPicture(imgRa[1].Picture());
  if (option == kBgmModeCd) bgmRepeat.SetEnabled(true);
  if (option == kBgmModeFile) cmdBgm.Enabled(-1);
}

void SettingsDialog::SelectOption(int option) {
  BgmMode = static_cast<int16_t>(option);
  ShowOption(option);
}

void SettingsDialog::ChooseFile() {
  std::string path;
  // A path too long for the 255-byte buffer, or one that would change on its way through the
  // settings file, is not taken: the user is told, and the previous choice stays.
  const FileChoice choice =
      ChooseOpenFileFitting(Platform(), Window(), u8"ﾌｧｲﾙを開く", u8"BGMﾌｧｲﾙ (MP3 WAV)", "*.MP3;*.WAV", path);
  ApiResult = choice == FileChoice::Taken ? 1 : 0;
  if (choice == FileChoice::Refused) Platform().MessageBox(kUnusablePathText, kApplicationTitle);
  if (choice != FileChoice::Taken) return;
  BgmFile = path;
  lblFname.SetCaption(BgmFile);
}

void SettingsDialog::Save() {
  // A user's own folder is made on their first save. Where it cannot be made, or the folder
  // there is not theirs alone, nothing is written: a failed save, silent as any other.
  const bool folderReady = MakeSettingsFolder(files_, settingsPath_);
  const auto write = [&](std::string_view key, const std::string& value) {
    if (folderReady) {
      WriteIniString(files_, kSettingsSection, key, value, settingsPath_);
    } else {
      ApiResult = 0;
    }
  };
  write(kBgmModeKey, SignedDecimalText(BgmMode));
  // A number in the user's format, rounded halves to even; anything else, and a number outside
  // the 16-bit range, is no track.
  const std::optional<double> track = NumericTextValue(bgmRepeat.Text(), Platform().UserNumberFormat());
  BgmRepeatTrack = track ? RoundToInt16(*track).value_or(0) : 0;
  write(kBgmRepeatTrackKey, SignedDecimalText(BgmRepeatTrack));
  write(kBgmFileKey, BgmFile);
  Unload();
}

void SettingsDialog::OpenHomePage() {
  FormsPlatform& platform = Platform();
  platform.SetBusyPointer(true);
  if (!homePage_.empty()) platform.OpenDocument(homePage_);
  platform.SetBusyPointer(false);
}

}  // namespace vellora::shell
