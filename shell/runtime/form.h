// A form: a top-level window with a caption (its window title, found by title even while the
// form is hidden), a retained picture, controls, and the load / query-unload / unload life.
#pragma once

#include <string>
#include <vector>

#include "runtime/container.h"
#include "runtime/twips.h"

namespace vellora::shell {

class FormsApplication;

struct FormDesign {
  std::string caption;
  FrameStyle frame = FrameStyle::None;
  Rgb backColour{0, 0, 0};
  int32_t clientWidthTwips = 0;
  int32_t clientHeightTwips = 0;
  // The window's own icon (empty: the system's default).
  Canvas icon{};
};

class Form : public Container {
 public:
  Form(FormsApplication& application, FormDesign design);
  ~Form() override;

  // Creates the window, hidden, and runs the load handler.
  void Load();
  // Loads if needed and shows the form; a modal show returns when the form is gone.
  void Show(bool modal = false);
  // Runs the query-unload and unload handlers, then the window goes.
  void Unload();

  bool Loaded() const { return Window() != nullptr; }
  const std::string& Caption() const { return design_.caption; }

  // Client area position (screen) and size, in twips.
  void Move(double leftTwips, double topTwips, double widthTwips, double heightTwips);
  double LeftTwips() const { return leftTwips_; }
  double TopTwips() const { return topTwips_; }
  double WidthTwips() const { return widthTwips_; }
  double HeightTwips() const { return heightTwips_; }

  // The controls that Tab and Shift+Tab move the focus through, in this order, passing over
  // those that cannot take it now. When the form is first shown the first one that can
  // takes the focus.
  void SetTabOrder(std::vector<Control*> order) { tabOrder_ = std::move(order); }

  // The outer size, frame included, in twips: known once the form is loaded, before it is
  // first shown; the client size while it is not loaded or the system reports no frame.
  double OuterWidthTwips() const;
  double OuterHeightTwips() const;
  // Moves the form so that its frame's top-left corner lies at this screen point (twips),
  // keeping its size.
  void MoveOuter(double leftTwips, double topTwips);

  void OnCloseRequested() override { Unload(); }
  bool OnTabKey(bool backward) override;
  void OnDestroyedFromOutside() override;
  void OnResized(PixelSize client) override;

 protected:
  virtual void FormLoad() {}
  virtual void FormQueryUnload() {}
  virtual void FormUnload() {}
  virtual void FormResize() {}
  FormsApplication& Application() { return application_; }

 private:
  void Gone();
  // The first resize of the form and of each picture panel inside, with their sizes.
  void ReportFirstSizes();
  // Focuses the next control of the tab order after the one at `current` (-1: none) that can
  // take the focus, going round.
  void FocusNextAfter(int current, bool backward);
  PixelMargins Frame() const;

  FormsApplication& application_;
  FormDesign design_;
  double leftTwips_ = 0, topTwips_ = 0, widthTwips_, heightTwips_;
  bool modalLoop_ = false;
  bool movedBeforeLoad_ = false;
  bool unloading_ = false;
  bool shown_ = false;
  std::vector<Control*> tabOrder_;
};

// The process's forms: the loop runs while any form is loaded.
class FormsApplication {
 public:
  explicit FormsApplication(FormsPlatform& platform) : platform_(platform) {}
  FormsPlatform& Platform() { return platform_; }

  // Runs events until no form is loaded (returns at once when none is).
  void Run();
  size_t LoadedForms() const { return loaded_; }

 private:
  friend class Form;
  void FormLoaded() { ++loaded_; }
  void FormGone();

  FormsPlatform& platform_;
  size_t loaded_ = 0;
  bool running_ = false;
};

}  // namespace vellora::shell
