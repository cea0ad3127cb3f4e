#include <gtest/gtest.h>

#include "platform/memory/ScriptedShell.h"

namespace quillet {
namespace {

TEST(ScriptedShell, RecordsOpenedDocumentsAndAnswersFromItsScript) {
  ScriptedShell shell;
  shell.shortcut("C:\\Users\\User\\Desktop\\App.lnk", "C:\\Program Files\\App\\app.exe");
  EXPECT_EQ(shell.ResolveShortcutTarget("c:\\users\\user\\desktop\\app.LNK"), "C:\\Program Files\\App\\app.exe");
  EXPECT_EQ(shell.ResolveShortcutTarget("C:\\Other.lnk"), "");
  EXPECT_TRUE(shell.OpenDocument("https://example.invalid/help"));
  EXPECT_EQ(shell.OpenedDocuments(), (std::vector<std::string>{"https://example.invalid/help"}));
  EXPECT_FALSE(shell.DeleteFileSilently("C:\\x.txt")) << "no file system to delete in";
  shell.specialFolder(SpecialFolder::CommonDesktop, std::nullopt);
  EXPECT_EQ(shell.GetSpecialFolder(SpecialFolder::CommonDesktop), std::nullopt);
}

}  // namespace
}  // namespace quillet
