#include "startup/session_form.h"

#include <cstdlib>

#include "common/shell_texts.h"
#include "cursor_point/cursor_start.h"
#include "runtime/bitmap_file.h"
#include "settings/settings_variables.h"
#include "startup/command_line.h"
#include "startup/monitor_snapshots.h"

namespace vellora::shell {
namespace {

constexpr int32_t kMouseMoveLimit = 30;

// The system's window background colour.
constexpr Rgb kWindowBackground{255, 255, 255};

}  // namespace

SessionForm::SessionForm(FormsApplication& application, FileSystem& files, SessionMusic& music,
                         std::string commandLine, std::string snapshotFolder)
    : Form(application, FormDesign{kSessionTitle, FrameStyle::None, kWindowBackground, 0, 0}),
      files_(files),
      music_(music),
      commandLine_(std::move(commandLine)),
      snapshotFolder_(std::move(snapshotFolder)) {
  FormsPlatform& platform = application.Platform();
  timer1_ = std::make_unique<FormTimer>(platform, 1000, false, [this] { Timer1Tick(); });
  timer2_ = std::make_unique<FormTimer>(platform, 200, false, [this] { Timer2Tick(); });
  timer3_ = std::make_unique<FormTimer>(platform, 50, true, [this] { Timer3Tick(); });
}

void SessionForm::FormLoad() {
  FormsPlatform& platform = Platform();
  // The end of the operating system's session unloads the form from outside, so that the
  // query-unload handler stops the music and gives the cursor back as a mouse move would.
  platform.WatchSessionEnd([this] { Unload(); });
  // An end asked for before the watch, or during one of the steps below (a capture may take a
  // while), ends the session at once: nothing more is started.
  const auto endAsked = [&platform] { return platform.SessionEndRequested(); };
  if (endAsked()) return Unload();

  const PixelSize screen = platform.ScreenSize();
  Move(0, 0, PixelsToTwips(screen.width, TwipsPerPixelX()), PixelsToTwips(screen.height, TwipsPerPixelY()));

  // The system's own saver would cover the session, or be what is copied if it is showing now.
  platform.KeepSystemSaverOff();

  // The screen becomes the form's picture and the snapshot the renderer flies through. A failed
  // copy leaves the blank picture, which is saved all the same; a failed save keeps the old file.
  // A per-user snapshot folder is made on first use; where none can be made, or the one there
  // is not the user's own, nothing is saved. With several monitors the whole desktop is copied
  // in one moment, and every other monitor's part gets a snapshot of its own beside it.
  const std::vector<PixelRect> monitors = platform.Monitors();
  std::vector<Canvas> otherMonitors;
  // Where the whole desktop cannot be copied at once (a Wayland compositor gives the primary
  // output alone), the primary is copied as with one monitor and the others stay black.
  const bool captured = (monitors.size() > 1 && CaptureEveryMonitor(platform, monitors, Surface(), otherMonitors)) ||
                        platform.CaptureScreen(Surface());
  if (!captured) ResizeSurface(screen);
  if (endAsked()) return Unload();
  if (files_.FolderProbes().CreateFolder(snapshotFolder_)) {
    SaveBitmap24(files_, Surface(), snapshotFolder_ + "\\" + kSnapshotFileName, /*ownerOnly=*/true);
    SaveOtherMonitorSnapshots(files_, snapshotFolder_, otherMonitors);
  }

  if (endAsked()) return Unload();
  const std::string dataPath = platform.ApplicationFolder() + "\\" + kRendererFileName;
  platform.StartProgram(dataPath);

  if (endAsked()) return Unload();
  StartMusic();

  cursorStartKnown_ = platform.CursorPositionKnown();
  NoteCursorStart(platform);
}

void SessionForm::StartMusic() {
  if (BgmMode == kBgmModeCd) {
    music_.OpenCdAudio();
    timer2_->SetEnabled(true);
  } else if (BgmMode == kBgmModeFile) {
    const std::string extension = UpperExtension3(BgmFile);
    if (extension == "WAV") {
      music_.PlayWaveFile();
    } else if (extension == "MP3") {
      music_.PlayMp3File();
      timer1_->SetEnabled(true);
    }
  }
}

void SessionForm::Timer1Tick() { music_.KeepMp3Playing(); }

void SessionForm::Timer2Tick() {
  music_.PollCdAudio();
  timer2_->SetEnabled(music_.CdPollActive());
}

void SessionForm::Timer3Tick() {
  if (!cursorStartKnown_) {
    // The system could not tell where the pointer was at the start: the start point is where
    // it first can.
    if (!Platform().CursorPositionKnown()) return;
    cursorStartKnown_ = true;
    NoteCursorStart(Platform());
    return;
  }
  PixelPoint cursor;  // a failed query reads as (0, 0)
  Platform().CursorPosition(cursor);
  if (std::llabs(int64_t{CursorStartY} - cursor.y) > kMouseMoveLimit &&
      std::llabs(int64_t{CursorStartX} - cursor.x) > kMouseMoveLimit) {
    timer3_->SetEnabled(false);
    Unload();
  }
}

void SessionForm::FormQueryUnload() {
  if (timer2_->Enabled()) {
    timer2_->SetEnabled(false);
    music_.CloseCdAudio();
  }
  if (BgmMode == kBgmModeFile) {
    const std::string extension = UpperExtension3(BgmFile);
    if (extension == "WAV") music_.StopWave();
    else if (extension == "MP3") music_.CloseMp3();
  }
  if (ModeLetter(commandLine_) == "S") Platform().ShowCursor(true);
  Platform().EndProcessNow();
}

}  // namespace vellora::shell
