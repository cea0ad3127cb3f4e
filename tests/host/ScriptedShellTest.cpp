#include <gtest/gtest.h>

#include "platform/memory/ScriptedShell.h"

namespace quillet {
namespace {

TEST(ScriptedShell, SpecialFoldersAreThoseOfAWindows7SystemUnlessSet) {
  ScriptedShell shell;
  const std::pair<SpecialFolder, const char*> cases[] = {
      {SpecialFolder::AppData, "C:\\Users\\User\\AppData\\Roaming"},
      {SpecialFolder::Fonts, "C:\\Windows\\Fonts"},
      {SpecialFolder::Programs, "C:\\Users\\User\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs"},
      {SpecialFolder::CommonPrograms, "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs"},
      {SpecialFolder::Desktop, "C:\\Users\\User\\Desktop"},
      {SpecialFolder::CommonStartup, "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\Startup"},
      {SpecialFolder::System, "C:\\Windows\\system32"},
  };
  for (const auto& [folder, path] : cases) EXPECT_EQ(shell.GetSpecialFolder(folder), std::string(path)) << path;
  shell.specialFolder(SpecialFolder::CommonDesktop, std::nullopt);
  EXPECT_EQ(shell.GetSpecialFolder(SpecialFolder::CommonDesktop), std::nullopt);
}

TEST(ScriptedShell, RecordsOpenedDocumentsAndResolvesScriptedShortcuts) {
  ScriptedShell shell;
  shell.shortcut("C:\\Users\\User\\Desktop\\App.lnk", "C:\\Program Files\\App\\app.exe");
  EXPECT_EQ(shell.ResolveShortcutTarget("c:\\users\\user\\desktop\\app.LNK"), "C:\\Program Files\\App\\app.exe");
  EXPECT_EQ(shell.ResolveShortcutTarget("C:\\Other.lnk"), "");
  EXPECT_TRUE(shell.OpenDocument("https://example.invalid/help"));
  EXPECT_EQ(shell.OpenedDocuments(), (std::vector<std::string>{"https://example.invalid/help"}));
  EXPECT_FALSE(shell.DeleteFileSilently("C:\\x.txt")) << "no file system to delete in";
}

}  // namespace
}  // namespace quillet
