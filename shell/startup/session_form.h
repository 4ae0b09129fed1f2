// The hidden session form: snapshots the screen, starts the renderer and the music, and ends
// the shell when the mouse has moved more than 30 pixels on both axes from where it stood.
#pragma once

#include <memory>
#include <string>

#include "platform/file_system.h"
#include "runtime/form.h"
#include "runtime/form_timer.h"
#include "startup/session_music.h"

namespace vellora::shell {

class SessionForm final : public Form {
 public:
  // The snapshot is saved in snapshotFolder (see FindDataFolders).
  SessionForm(FormsApplication& application, FileSystem& files, SessionMusic& music, std::string commandLine,
              std::string snapshotFolder);

  FormTimer& Timer1() { return *timer1_; }  // 1000 ms: keeps an MP3 playing
  FormTimer& Timer2() { return *timer2_; }  // 200 ms: music CD poll
  FormTimer& Timer3() { return *timer3_; }  // 50 ms: the mouse-move end test

  // Its window destroyed by another program: the session ends as when it is unloaded from
  // outside, so that no second session can start beside it while its music plays on.
  void OnDestroyedFromOutside() override { Unload(); }

 private:
  void FormLoad() override;
  void FormQueryUnload() override;
  void StartMusic();
  void Timer1Tick();
  void Timer2Tick();
  void Timer3Tick();

  FileSystem& files_;
  SessionMusic& music_;
  std::string commandLine_;
  std::string snapshotFolder_;
  std::unique_ptr<FormTimer> timer1_, timer2_, timer3_;
  // Whether the mouse test's start point is where the pointer is known to have been.
  bool cursorStartKnown_ = true;
};

}  // namespace vellora::shell
