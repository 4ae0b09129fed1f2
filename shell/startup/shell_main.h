// The shell's start: the single-instance guard, the mode letter, the settings, the renderer
// check, and the hand-over to the preview, the settings dialog or the session.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/file_system.h"
#include "runtime/form.h"
#include "startup/session_music.h"

namespace vellora::shell {

class ShellProgram {
 public:
  // What the modes hand over to; a mode whose entry is empty ends quietly.
  struct Modes {
    std::function<void(int32_t parentHandle)> preview;  // sets up and shows the preview form
    std::function<void(const std::string& settingsPath)> settingsDialog;  // shows the dialog modally
  };

  ShellProgram(FormsApplication& application, FileSystem& files, SessionMusic& music, Modes modes = {});
  ~ShellProgram();

  // Runs once at process start. Either ends the process or returns with a form loaded; the
  // caller then runs the application until its last form is gone.
  void ShellMain();

  Form* Session() const;

 private:
  FormsApplication& application_;
  FileSystem& files_;
  SessionMusic& music_;
  Modes modes_;
  std::unique_ptr<Form> session_;
};

}  // namespace vellora::shell
