#include "platform/gtk/process_text.h"

#include <gtest/gtest.h>

namespace vellora::shell {
namespace {

TEST(GtkProcessText, FolderHasNoTrailingSeparatorExceptAtTheRoot) {
  EXPECT_EQ(FolderOfPath("/opt/vellora/Vellora.scr"), "/opt/vellora");
  EXPECT_EQ(FolderOfPath("/Vellora.scr"), "/");
  EXPECT_EQ(FolderOfPath("/opt//Vellora.scr"), "/opt");
  EXPECT_EQ(FolderOfPath("//Vellora.scr"), "/");
  EXPECT_EQ(FolderOfPath(u8"/home/ユーザー/スクリーンセーバー/Vellora.scr"), u8"/home/ユーザー/スクリーンセーバー");
}

}  // namespace
}  // namespace vellora::shell
