// The preview as the shell's main procedure reaches it: the command-line tails, handles that
// name no window, and the process's life with the form.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "fake_file_system.h"
#include "fake_forms_platform.h"
#include "recording_music.h"
#include "settings/settings_variables.h"
#include "startup/preview_form.h"
#include "startup/shell_main.h"

namespace vellora::shell {
namespace {

using testing::FakeFileSystem;
using testing::FakeFormsPlatform;
using testing::ProcessEnded;
using testing::RecordingMusic;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::Not;

class PreviewModeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ApiResult = 0;
    platform.foreignWindows[1234] = {500, 400, 652, 512};
  }

  // Runs the shell's main procedure on the command line; true when it ended the process.
  bool Start(const std::string& commandLine) {
    platform.commandLine = commandLine;
    try {
      shell.ShellMain();
      return false;
    } catch (const ProcessEnded&) {
      return true;
    }
  }
  bool Logged(const std::string& prefix) const {
    for (const std::string& entry : platform.log)
      if (entry.rfind(prefix, 0) == 0) return true;
    return false;
  }

  FakeFormsPlatform platform;
  FakeFileSystem files;  // holds no renderer and no settings: the preview needs neither
  std::vector<std::string> played;  // stays empty: a preview plays no music
  RecordingMusic music{played};
  FormsApplication application{platform};
  std::unique_ptr<PreviewForm> preview;
  ShellProgram shell{application, files, music,
                     ShellProgram::Modes{[this](int32_t handle) { preview = SetUpPreview(application, handle); }, {}}};
};

TEST_F(PreviewModeTest, BothCommandLineFormsPutThePreviewIntoWindow1234EvenWithTextAfterTheNumber) {
  // A number followed by other text is read up to the text.
  for (const char* commandLine : {"/p 1234", "/P:1234", "/p 1234 extra"}) {
    preview.reset();
    platform.log.clear();
    EXPECT_FALSE(Start(commandLine)) << commandLine;
    ASSERT_NE(preview, nullptr) << commandLine;
    EXPECT_THAT(platform.log, Contains("AdoptInto 1234")) << commandLine;
    EXPECT_FALSE(Logged("MessageBox")) << commandLine;  // the renderer is not checked
    ASSERT_EQ(platform.windows.size(), 1u) << commandLine;
    EXPECT_EQ(platform.windows.front()->foreignParent, 1234u) << commandLine;
    EXPECT_TRUE(platform.windows.front()->visible) << commandLine;
    EXPECT_EQ(platform.windows.front()->client.width, 152) << commandLine;
  }
  EXPECT_TRUE(played.empty());
}

TEST_F(PreviewModeTest, HandleMissingNotANumberOrNamingNoWindowEndsAtOnce) {
  for (const char* commandLine : {"/p", "/p ", "/p:", "/p window", "/p 0", "/p 999", "/p -1234", "/p 4294968530"}) {
    preview.reset();
    platform.log.clear();
    EXPECT_TRUE(Start(commandLine)) << commandLine;
    EXPECT_EQ(platform.log.back(), "EndProcess") << commandLine;
    EXPECT_TRUE(platform.windows.empty()) << commandLine;  // no form was ever made
    EXPECT_FALSE(Logged("MessageBox")) << commandLine;
    EXPECT_EQ(ApiResult, 0) << commandLine;
  }
}

TEST_F(PreviewModeTest, TheProcessLivesUntilTheHostTakesThePreviewDown) {
  ASSERT_FALSE(Start("/p 1234"));
  int loopSteps = 0;
  platform.loopScript = {[&] { ++loopSteps; }, [&] { ++loopSteps; },
                         [&] {
                           ++loopSteps;
                           platform.windows.front()->events.OnDestroyedFromOutside();  // the host went
                         },
                         [&] { ++loopSteps; }};
  application.Run();
  EXPECT_EQ(loopSteps, 3);  // the loop ran until the form was gone, then ended
  EXPECT_EQ(application.LoadedForms(), 0u);
  EXPECT_FALSE(preview->Loaded());
}

TEST_F(PreviewModeTest, UnloadPostsACloseRequestThatFindsTheWindowGone) {
  ASSERT_FALSE(Start("/p 1234"));
  ApiResult = 0;
  preview->Unload();
  EXPECT_EQ(ApiResult, 1);  // the request was posted
  EXPECT_FALSE(preview->Loaded());
  EXPECT_EQ(application.LoadedForms(), 0u);
  EXPECT_EQ(platform.ActiveTimers(), 1u);  // still on its way
  platform.Advance(10);
  EXPECT_EQ(platform.ActiveTimers(), 0u);  // delivered once and dropped
  EXPECT_FALSE(preview->Loaded());
}

TEST_F(PreviewModeTest, APreviewFormGoingAwayWithARequestPendingCancelsIt) {
  ASSERT_FALSE(Start("/p 1234"));
  preview->Unload();
  preview.reset();
  EXPECT_EQ(platform.ActiveTimers(), 0u);
  platform.Advance(10);  // nothing is left to run
}

}  // namespace
}  // namespace vellora::shell
