// The settings dialog Vellora_P (Vellora.scr /c): the choice of background music (none, a
// music CD with an optional track to repeat, or an MP3 or WAV file), saved to Vellora.ini by
// "設定"; "ｷｬﾝｾﾙ" and the close box close it without writing. Its background and panel are
// painted sine gradients, it opens and closes with the caption zoom from and to the mouse
// pointer, and "その他の作品" opens the maker's home page.
#pragma once

#include <string>

#include "controls/command.h"
#include "platform/file_system.h"
#include "runtime/combo_box.h"
#include "runtime/form.h"
#include "runtime/label.h"
#include "runtime/picture_controls.h"
#include "runtime/picture_panel.h"

namespace vellora::shell {

namespace detail {
// The dialog's controls, built before the form and destroyed after it so that they outlive the
// window the form drops when it goes. Names and element numbers are those of the design.
struct SettingsDialogControls {
  explicit SettingsDialogControls(FormsPlatform& platform);

  PicturePanel picC;
  ShapeControl shape3{"Shape3", 3};
  Label lblTitle{"lbl", 15};
  ImageControl imgBgm[3]{{"Img_BGM", 0}, {"Img_BGM", 1}, {"Img_BGM", 2}};
  Label lblBgm[3]{{"lbl_BGM", 0}, {"lbl_BGM", 1}, {"lbl_BGM", 2}};
  ComboBox bgmRepeat{"BGM_Repeat", 0};
  Label lblRepeat{"lbl", 14};
  Command cmdBgm;
  Label lblFname{"lbl_Fname", 0};
  Label lblAbout{"lbl", 7};
  Command cmdEtc, cmdSet, cmdCan;
  ImageControl imgRa[2]{{"Img_Ra", 0}, {"Img_Ra", 1}};
};
}  // namespace detail

class SettingsDialog final : private detail::SettingsDialogControls, public Form {
 public:
  // settingsPath: the Vellora.ini that "設定" writes. homePage: the address "その他の作品"
  // opens; with none it opens nothing.
  SettingsDialog(FormsApplication& application, FileSystem& files, std::string settingsPath, std::string homePage);
  ~SettingsDialog() override;

 private:
  void FormLoad() override;
  void FormResize() override;
  void FormUnload() override;

  // Calls Initialize on every Command button of the form, or else sets their Enabled.
  void SetCommandControls(bool initialise, bool enable);
  // Marks option i (0 none, 1 music CD, 2 file) and enables what goes with it.
  void ShowOption(int option);
  void SelectOption(int option);
  void ChooseFile();
  void Save();
  void OpenHomePage();

  FileSystem& files_;
  std::string settingsPath_;
  std::string homePage_;
};

}  // namespace vellora::shell
