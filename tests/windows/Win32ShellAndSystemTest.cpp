// The shell, system facts and the shared routines over them, against Wine's real ones.
#include <gtest/gtest.h>

#include "ScratchFolder.h"
#include "TestPaths.h"
#include "platform/Platform.h"
#include "platform/win32/Win32.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Profile.h"
#include "platform/win32/Win32Shell.h"
#include "platform/win32/Win32SystemInfo.h"
#include "platform/win32/WideString.h"
#include "settings/OptionsSetting.h"
#include "settings/RegGlobal.h"
#include "base/TextCompare.h"

namespace quillet::testing {
namespace {

class Win32Platform : public ::testing::Test {
 protected:
  win32::Win32FileSystem files;
  win32::Win32Profile profile;
  win32::Win32Shell shell;
  win32::Win32SystemInfo system;
  ScopedPlatform platform{Platform{nullptr, &files, &profile, &shell, &system, nullptr}};
};

TEST_F(Win32Platform, SpecialFoldersAreRealFoldersWithoutTrailingBackslash) {
  for (SpecialFolder folder : {SpecialFolder::AppData, SpecialFolder::Fonts, SpecialFolder::Programs,
                               SpecialFolder::CommonPrograms, SpecialFolder::Windows, SpecialFolder::System}) {
    auto path = shell.GetSpecialFolder(folder);
    ASSERT_TRUE(path) << static_cast<int>(folder);
    EXPECT_FALSE(path->ends_with('\\')) << *path;
    EXPECT_TRUE(files.FolderExists(*path)) << *path;
  }
  wchar_t system32[MAX_PATH];
  ::GetSystemDirectoryW(system32, MAX_PATH);
  EXPECT_TRUE(SameText(*shell.GetSpecialFolder(SpecialFolder::System), win32::ToUtf8(system32)));
  std::string appData = GetAppDataFolder();
  EXPECT_TRUE(appData.ends_with('\\')) << appData;
  EXPECT_TRUE(files.FolderExists(appData)) << appData;
}

TEST_F(Win32Platform, ShellDeleteFileDeletesARealFileAndOnlyIt) {
  ScratchFolder scratch;
  PutFile(scratch.At("Backup20260307090503.reg"), "REGEDIT4\r\n");
  PutFile(scratch.At("other.reg"), "REGEDIT4\r\n");
  EXPECT_TRUE(ShellDeleteFile(scratch.At("Backup20260307090503.reg")));
  EXPECT_FALSE(files.FileExists(scratch.At("Backup20260307090503.reg")));
  EXPECT_TRUE(files.FileExists(scratch.At("other.reg")));
}

TEST_F(Win32Platform, TheTestPrefixIsA32BitSystem) {
  EXPECT_EQ(system.QueryWow64Process(), std::optional<bool>(false));
  EXPECT_FALSE(IsWow64());
  OsVersion version = system.GetOsVersion();
  EXPECT_EQ(version.platform, PlatformId::WindowsNt);
  EXPECT_GE(version.major, 5u);
  WindowsVersionCode code = GetWindowsVersion();
  EXPECT_TRUE(code >= 5 && code <= 13 && code != 8) << code;
}

TEST_F(Win32Platform, ExecutableFolderAndDefaultBackupFolder) {
  EXPECT_EQ(system.ExecutableFolder(), win32::ToUtf8(BuildFolder()));
  EXPECT_EQ(DefaultOutputDirectory(), win32::ToUtf8(BuildFolder()) + "Backup");
}

TEST_F(Win32Platform, GetLangTextReadsTheLanguageFileBesideTheExecutable) {
  const std::string saved = OptionsSetting.Lan;
  const std::string beside = win32::ToUtf8(BuildFolder()) + "Lan_QuilletTest.ini";
  PutFile(beside, "[ResourceString]\r\nRES_Scan=Registry durchsuchen\r\n");
  OptionsSetting.Lan = "QuilletTest";
  EXPECT_EQ(GetLanguageFilePath("QuilletTest"), beside);
  EXPECT_EQ(GetLangText("RES_Scan", "Scan registry issues"), "Registry durchsuchen");
  EXPECT_EQ(GetLangText("RES_Missing", "English text"), "English text");
  ::DeleteFileW(win32::ToWide(beside).c_str());
  EXPECT_EQ(GetLanguageFilePath("QuilletTest"), win32::ToUtf8(BuildFolder()) + "Languages\\Lan_QuilletTest.ini");
  EXPECT_EQ(GetLangText("RES_Scan", "Scan registry issues"), "Scan registry issues");
  OptionsSetting.Lan = saved;
}

}  // namespace
}  // namespace quillet::testing
