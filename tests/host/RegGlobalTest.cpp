#include <gtest/gtest.h>

#include "platform/Platform.h"
#include "platform/memory/FixedSystemInfo.h"
#include "platform/memory/IniProfile.h"
#include "platform/memory/MemoryFileSystem.h"
#include "platform/memory/ScriptedShell.h"
#include "settings/OptionsSetting.h"
#include "settings/RegGlobal.h"

namespace quillet {
namespace {

constexpr const char* kExeFolder = "C:\\Program Files\\Quillet\\";

// The shared routines over in-memory platform services, with Lan put back afterwards.
class RegGlobalTest : public ::testing::Test {
 protected:
  RegGlobalTest() { fs.fixedDrive('c').folder(kExeFolder); }
  ~RegGlobalTest() override { OptionsSetting.Lan = savedLan; }

  MemoryFileSystem fs;
  IniProfile profile{fs};
  ScriptedShell shell{&fs};
  FixedSystemInfo system;
  ScopedPlatform platform{Platform{nullptr, &fs, &profile, &shell, &system, nullptr}};
  std::string savedLan = OptionsSetting.Lan;
};

TEST_F(RegGlobalTest, EnglishInAnyCaseReadsNoFile) {
  fs.file(std::string(kExeFolder) + "Lan_English.ini", "[ResourceString]\r\nRES_Scan=Translated\r\n");
  for (const char* lan : {"English", "ENGLISH", "english", "eNgLiSh"}) {
    OptionsSetting.Lan = lan;
    EXPECT_EQ(GetLangText("RES_Scan", "Scan registry issues"), "Scan registry issues") << lan;
  }
  EXPECT_EQ(fs.ReadCount(), 0u);
  EXPECT_EQ(fs.ProbeCount(), 0u);
}

TEST_F(RegGlobalTest, TheFileBesideTheExecutableWinsOverTheLanguagesFolder) {
  fs.file(std::string(kExeFolder) + "Lan_German.ini", "[ResourceString]\r\nRES_Scan=Beside\r\n");
  fs.file(std::string(kExeFolder) + "Languages\\Lan_German.ini", "[ResourceString]\r\nRES_Scan=Folder\r\n");
  OptionsSetting.Lan = "German";
  EXPECT_EQ(GetLanguageFilePath("German"), "C:\\Program Files\\Quillet\\Lan_German.ini");
  EXPECT_EQ(GetLangText("RES_Scan", "Scan"), "Beside") << fs.Dump();
}

TEST_F(RegGlobalTest, WithoutAFileBesideItTheLanguagesFolderIsUsed) {
  fs.file(std::string(kExeFolder) + "Languages\\Lan_French.ini",
          "[ResourceString]\r\nRES_Scan=Analyser\r\n[Other]\r\nRES_Only=elsewhere\r\n");
  OptionsSetting.Lan = "French";
  EXPECT_EQ(GetLanguageFilePath("French"), "C:\\Program Files\\Quillet\\Languages\\Lan_French.ini");
  EXPECT_EQ(GetLangText("RES_SCAN", "Scan"), "Analyser") << fs.Dump();
  EXPECT_EQ(GetLangText("RES_Only", "Only in another section"), "Only in another section");
}

TEST_F(RegGlobalTest, AMissingKeyOrFileGivesTheEnglishText) {
  OptionsSetting.Lan = "Klingon";
  EXPECT_EQ(GetLanguageFilePath("Klingon"), "C:\\Program Files\\Quillet\\Languages\\Lan_Klingon.ini");
  EXPECT_EQ(GetLangText("RES_Scan", "Scanning... "), "Scanning... ");
  fs.file(std::string(kExeFolder) + "Lan_Klingon.ini", "[ResourceString]\r\nRES_Blank=\r\n");
  EXPECT_EQ(GetLangText("RES_Blank", "Blank"), "Blank");
  EXPECT_EQ(GetLangText("RES_Scan", "Scan"), "Scan");
}

TEST_F(RegGlobalTest, EveryLookupReadsTheFileAfresh) {
  const std::string file = std::string(kExeFolder) + "Lan_Dutch.ini";
  fs.file(file, "[ResourceString]\r\nRES_Scan=Een\r\n");
  OptionsSetting.Lan = "Dutch";
  EXPECT_EQ(GetLangText("RES_Scan", "Scan"), "Een");
  fs.file(file, "[ResourceString]\r\nRES_Scan=Twee\r\n");
  EXPECT_EQ(GetLangText("RES_Scan", "Scan"), "Twee");
}

struct VersionCase {
  PlatformId platform;
  unsigned major;
  unsigned minor;
  WindowsVersionCode code;
};

TEST(WindowsVersion, ClassifiesEveryRowOfTheTable) {
  using enum PlatformId;
  const VersionCase cases[] = {
      {Windows9x, 4, 0, 1},  {Windows9x, 4, 10, 3}, {Windows9x, 4, 90, 8}, {Windows9x, 4, 3, 10},
      {Windows9x, 5, 0, 10}, {WindowsNt, 3, 51, 5}, {WindowsNt, 3, 10, 5}, {WindowsNt, 4, 0, 6},
      {WindowsNt, 5, 0, 7},  {WindowsNt, 5, 1, 9},  {WindowsNt, 5, 2, 10}, {WindowsNt, 6, 0, 11},
      {WindowsNt, 6, 1, 12}, {WindowsNt, 6, 2, 13}, {WindowsNt, 6, 3, 11}, {WindowsNt, 10, 0, 10},
      {WindowsNt, 2, 0, 10}, {WindowsNt, 7, 0, 10},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ClassifyWindowsVersion({c.platform, c.major, c.minor}), c.code)
        << (c.platform == Windows9x ? "9x " : "NT ") << c.major << "." << c.minor;
  }
}

TEST_F(RegGlobalTest, GetWindowsVersionAndIsWow64AskTheSystem) {
  system.osVersion(PlatformId::WindowsNt, 6, 2);
  EXPECT_EQ(GetWindowsVersion(), 13);
  system.wow64(true);
  EXPECT_TRUE(IsWow64());
  system.wow64(false);
  EXPECT_FALSE(IsWow64());
  system.wow64(std::nullopt);
  EXPECT_FALSE(IsWow64()) << "a system without IsWow64Process is not WOW64";
}

TEST_F(RegGlobalTest, FoldersComeFromTheShellAndTheExecutable) {
  EXPECT_EQ(GetAppDataFolder(), "C:\\Users\\User\\AppData\\Roaming\\");
  shell.specialFolder(SpecialFolder::AppData, "D:\\Profiles\\Ann\\");
  EXPECT_EQ(GetAppDataFolder(), "D:\\Profiles\\Ann\\");
  EXPECT_EQ(DefaultOutputDirectory(), "C:\\Program Files\\Quillet\\Backup");
}

TEST_F(RegGlobalTest, BrowseForFolderHandsOverTheChosenPathOrLeavesItAlone) {
  shell.answerBrowse("D:\\Backups").answerBrowse(std::nullopt);
  std::string path;
  EXPECT_TRUE(BrowseForFolder("Choose the backup folder", path));
  EXPECT_EQ(path, "D:\\Backups");
  std::string untouched;
  EXPECT_FALSE(BrowseForFolder("Again", untouched));
  EXPECT_EQ(untouched, "");
  EXPECT_FALSE(BrowseForFolder("Nothing queued", untouched));
  EXPECT_EQ(shell.BrowseTitles(), (std::vector<std::string>{"Choose the backup folder", "Again", "Nothing queued"}));
}

TEST_F(RegGlobalTest, ShellDeleteFileDeletesThroughTheShell) {
  fs.file("C:\\Temp\\old.reg").refuseDelete("C:\\Temp\\kept.reg").file("C:\\Temp\\kept.reg");
  EXPECT_TRUE(ShellDeleteFile("C:\\Temp\\old.reg"));
  EXPECT_FALSE(fs.FileExists("C:\\Temp\\old.reg"));
  EXPECT_FALSE(ShellDeleteFile("C:\\Temp\\old.reg"));
  EXPECT_FALSE(ShellDeleteFile("C:\\Temp\\kept.reg"));
  EXPECT_EQ(shell.DeletedFiles(), (std::vector<std::string>{"C:\\Temp\\old.reg"}));
}

TEST(TwoDigits, PadsSingleDigitsWithAZero) {
  const std::pair<int, const char*> cases[] = {{0, "00"}, {7, "07"}, {9, "09"}, {10, "10"}, {12, "12"}, {59, "59"}, {2026, "2026"}};
  for (const auto& [n, text] : cases) EXPECT_EQ(TwoDigits(n), text) << n;
}

TEST(Rot13, TurnsAsciiLettersAndNothingElse) {
  const std::pair<const char*, const char*> cases[] = {
      {"HELLO world", "URYYB jbeyq"},
      {"C:\\Program Files\\App.exe", "P:\\Cebtenz Svyrf\\Ncc.rkr"},
      {"0123456789 !\"#%&/()=?{}[]", "0123456789 !\"#%&/()=?{}[]"},
      {"Zz Aa Mm Nn", "Mm Nn Zz Aa"},
      {"\xC3\xA9t\xC3\xA9 \xD0\x96", "\xC3\xA9g\xC3\xA9 \xD0\x96"},
      {"", ""},
  };
  for (const auto& [text, turned] : cases) {
    EXPECT_EQ(Rot13(text), turned) << text;
    EXPECT_EQ(Rot13(Rot13(text)), text) << text;
  }
}

}  // namespace
}  // namespace quillet
