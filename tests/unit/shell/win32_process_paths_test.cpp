// The Win32 forms backend's reading of its command line and module path, as plain text.
#include "platform/win32/win32_process_paths.h"

#include <gtest/gtest.h>

namespace vellora::shell {
namespace {

TEST(Win32CommandLineArguments, DropsAnUnquotedProgramPathAndTheBlanksAfterIt) {
  EXPECT_EQ(CommandLineArguments(R"(C:\Windows\Vellora.scr /s)"), "/s");
  EXPECT_EQ(CommandLineArguments("C:\\Windows\\Vellora.scr \t  /p 1234"), "/p 1234");
  EXPECT_EQ(CommandLineArguments("Vellora.scr\t/c:1234"), "/c:1234");
  // Blanks inside and after the arguments are theirs.
  EXPECT_EQ(CommandLineArguments("Vellora.scr /S  x "), "/S  x ");
}

TEST(Win32CommandLineArguments, DropsAQuotedProgramPathWithItsBlanks) {
  EXPECT_EQ(CommandLineArguments(R"("C:\Program Files\Vellora\Vellora.scr" /S)"), "/S");
  // Arguments may follow the closing quote directly.
  EXPECT_EQ(CommandLineArguments(R"("C:\a b\Vellora.scr"/c)"), "/c");
  // A quoted argument keeps its quotes.
  EXPECT_EQ(CommandLineArguments(R"("C:\a b\x.scr" "two words")"), R"("two words")");
  // Non-ASCII paths: UTF-8 bytes never look like a blank or a quote.
  EXPECT_EQ(CommandLineArguments(u8"\"C:\\スクリーン セーバー\\Vellora.scr\" /s"), "/s");
}

TEST(Win32CommandLineArguments, NoArgumentsGiveEmptyText) {
  EXPECT_EQ(CommandLineArguments(""), "");
  EXPECT_EQ(CommandLineArguments(R"(C:\Windows\Vellora.scr)"), "");
  EXPECT_EQ(CommandLineArguments(R"("C:\a b\Vellora.scr")"), "");
  EXPECT_EQ(CommandLineArguments("Vellora.scr   "), "");
  // An unterminated quote takes the whole line as the program path.
  EXPECT_EQ(CommandLineArguments(R"("C:\a b\Vellora.scr /s)"), "");
}

TEST(Win32FolderOfModulePath, DropsTheFileNameAndTheSeparator) {
  EXPECT_EQ(FolderOfModulePath(R"(C:\Windows\System32\Vellora.scr)"), R"(C:\Windows\System32)");
  EXPECT_EQ(FolderOfModulePath(u8"D:\\ゲーム\\Vellora.scr"), u8"D:\\ゲーム");
  EXPECT_EQ(FolderOfModulePath(R"(\\server\share\Vellora.scr)"), R"(\\server\share)");
}

TEST(Win32FolderOfModulePath, KeepsTheSeparatorOfADriveRootOnly) {
  EXPECT_EQ(FolderOfModulePath(R"(C:\Vellora.scr)"), "C:\\");
  EXPECT_EQ(FolderOfModulePath(R"(C:\x\Vellora.scr)"), "C:\\x");
  EXPECT_EQ(FolderOfModulePath("Vellora.scr"), "");
}

}  // namespace
}  // namespace vellora::shell
