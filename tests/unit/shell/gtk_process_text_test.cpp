#include "platform/gtk/process_text.h"

#include <gtest/gtest.h>

namespace vellora::shell {
namespace {

TEST(GtkProcessText, CommandLineIsTheArgumentsAfterTheProgramJoinedWithBlanks) {
  char program[] = "/opt/vellora/Vellora.scr", mode[] = "/p", handle[] = "1234", empty[] = "";
  char* args[] = {program, mode, handle, nullptr};
  EXPECT_EQ(JoinArguments(3, args), "/p 1234");
  char* one[] = {program, mode, nullptr};
  EXPECT_EQ(JoinArguments(2, one), "/p");
  char* none[] = {program, nullptr};
  EXPECT_EQ(JoinArguments(1, none), "");
  EXPECT_EQ(JoinArguments(0, nullptr), "");
  // An empty argument still takes its place between the blanks.
  char* gap[] = {program, mode, empty, handle, nullptr};
  EXPECT_EQ(JoinArguments(4, gap), "/p  1234");
}

TEST(GtkProcessText, FolderHasNoTrailingSeparatorExceptAtTheRoot) {
  EXPECT_EQ(FolderOfPath("/opt/vellora/Vellora.scr"), "/opt/vellora");
  EXPECT_EQ(FolderOfPath("/Vellora.scr"), "/");
  EXPECT_EQ(FolderOfPath("/opt//Vellora.scr"), "/opt");
  EXPECT_EQ(FolderOfPath("//Vellora.scr"), "/");
  EXPECT_EQ(FolderOfPath(u8"/home/ユーザー/スクリーンセーバー/Vellora.scr"), u8"/home/ユーザー/スクリーンセーバー");
}

}  // namespace
}  // namespace vellora::shell
