#include <gtest/gtest.h>

#include "ScanFixture.h"
#include "scan/ServiceShortcutSoundScans.h"
#include "base/TextCompare.h"

namespace quillet::testing {
namespace {

constexpr const char* kServices = "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services";
constexpr const char* kMenuOrder = "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MenuOrder";
constexpr const char* kSchemes = "HKEY_CURRENT_USER\\AppEvents\\Schemes\\Apps";
constexpr const char* kUserPrograms = "C:\\Users\\User\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs";
constexpr const char* kCommonPrograms = "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs";
constexpr const char* kDesktop = "C:\\Users\\User\\Desktop";

ProblemEntry Row(std::string problem, std::string keyPath, std::string value, RepairAction action) {
  return ProblemEntry{std::move(problem), std::move(keyPath), std::move(value), action, false};
}

ProblemEntry ServiceRow(const std::string& service, std::string imagePath) {
  return Row("Windows Service Issue", std::string(kServices) + "\\" + service + "\\ImagePath", std::move(imagePath),
             RepairAction::DeleteValueInPath);
}

ProblemEntry ShortcutRow(std::string shortcut, std::string target) {
  return Row("Missing ShortCut reference", std::move(shortcut), std::move(target), RepairAction::DeleteFile);
}

TEST(ScanWindowsServices, ReportsOnlyStringImagePathsNamingMissingPrograms) {
  ScanFixture f;
  f.fs.env("SystemRoot", "C:\\Windows").file("C:\\Windows\\System32\\svchost.exe").file("C:\\Tools\\agent.exe");
  const std::string base = kServices;
  f.reg.key(base + "\\Agent").str("ImagePath", "\"C:\\Tools\\agent.exe\" /service");
  f.reg.key(base + "\\Binary").binary("ImagePath", {'C', 0, ':', 0});
  f.reg.key(base + "\\Driver").expand("ImagePath", "system32\\drivers\\gone.sys");
  f.reg.key(base + "\\Gone").str("ImagePath", "C:\\Tools\\gone.exe -run");
  f.reg.key(base + "\\Netsvcs").expand("ImagePath", "%SystemRoot%\\System32\\svchost.exe -k netsvcs");
  f.reg.key(base + "\\NoImage").str("DisplayName", "C:\\Tools\\gone.exe");
  f.reg.key(base + "\\OldHost").expand("ImagePath", "%SystemRoot%\\System32\\oldhost.exe -k old");
  f.reg.key(base + "\\Locked").denyFullAccess().str("ImagePath", "C:\\Tools\\locked.exe");
  for (const char* name : {"slsvc", "SLSvc", "xSLSVCx"}) {
    f.reg.key(base + "\\" + name).str("ImagePath", "C:\\Tools\\licensing.exe");
  }

  EXPECT_EQ(f.Run(ScanWindowsServices, 15),
            (std::vector<ProblemEntry>{
                ServiceRow("Gone", "C:\\Tools\\gone.exe -run"),
                ServiceRow("OldHost", "%SystemRoot%\\System32\\oldhost.exe -k old"),
            }));
  const std::vector<std::string> keys = f.sink.Only("key:");
  for (const std::string& key : keys) EXPECT_EQ(UpperCase(key).find("SLSVC"), std::string::npos) << key;
  EXPECT_EQ(keys.size(), 7u) << "every service that opens is shown, the locked one is not";
}

TEST(ScanStartMenu, ReportsOrderKeysWhoseFolderIsInNeitherProgramsFolder) {
  ScanFixture f;
  f.fs.folder(std::string(kUserPrograms) + "\\accessories")
      .folder(std::string(kCommonPrograms) + "\\Shared Tools")
      .file(std::string(kUserPrograms) + "\\Notes");
  f.reg.key(std::string(kMenuOrder) + "\\Start Menu2\\Programs\\Accessories");
  f.reg.key(std::string(kMenuOrder) + "\\Start Menu2\\Programs\\Notes");
  f.reg.key(std::string(kMenuOrder) + "\\Start Menu2\\Programs\\shared tools");
  f.reg.key(std::string(kMenuOrder) + "\\Start Menu\\Programs\\Removed");
  f.reg.key(std::string(kMenuOrder) + "\\Start Menu\\&Programs\\Accessories\\Deeper");

  EXPECT_EQ(f.Run(ScanStartMenu, 16),
            (std::vector<ProblemEntry>{
                Row("Old Start Menu Key", std::string(kMenuOrder) + "\\Start Menu2\\Programs", "Notes",
                    RepairAction::DeleteNamedSubkey),
                Row("Old Start Menu Key", std::string(kMenuOrder) + "\\Start Menu\\Programs", "Removed",
                    RepairAction::DeleteNamedSubkey),
            }));
  EXPECT_EQ(f.sink.Only("key:").size(), 5u);
}

TEST(ScanShortcuts, ReportsShortcutsWhoseTargetIsAMissingFileOnATestedDrive) {
  ScanFixture f;
  f.flags.DriveLetters = "cd";
  f.fs.cdromDrive('d').remoteDrive('z').file("C:\\Docs\\present.txt").folder("C:\\Docs\\Folder");
  const std::string desktop = kDesktop;
  f.fs.folder(desktop + "\\Sub");
  struct Shortcut {
    const char* name;
    const char* target;
  };
  const Shortcut shortcuts[] = {
      {"Present.lnk", "C:\\Docs\\present.txt"},
      {"Folder.lnk", "C:\\Docs\\Folder"},
      {"Gone.LNK", "C:\\Docs\\gone.txt"},
      {"Cd.lnk", "E:\\Setup\\gone.exe"},
      {"Network.lnk", "Z:\\Share\\gone.txt"},
      {"Unc.lnk", "\\\\server\\share\\gone.txt"},
      {"Empty.lnk", ""},
      {"Relative.lnk", "C:gone.txt"},
      {"Sub\\Deep.lnk", "c:\\Docs\\deep.txt"},
      {"NotALink.txt", "C:\\Docs\\gone.txt"},
  };
  for (const Shortcut& shortcut : shortcuts) {
    f.fs.file(desktop + "\\" + shortcut.name);
    f.shell.shortcut(desktop + "\\" + shortcut.name, shortcut.target);
  }

  EXPECT_EQ(f.Run(ScanShortcuts, 17), (std::vector<ProblemEntry>{
                                          ShortcutRow(desktop + "\\Gone.LNK", "C:\\Docs\\gone.txt"),
                                          ShortcutRow(desktop + "\\Sub\\Deep.lnk", "c:\\Docs\\deep.txt"),
                                      }));
  EXPECT_EQ(f.sink.Only("key:").size(), 9u) << "every shortcut is shown, other files are not";
}

TEST(ScanShortcuts, ADriveRelativeTargetPassesOverThatShortcutOnly) {
  ScanFixture f;
  const std::string desktop = kDesktop;
  f.fs.file(desktop + "\\A.lnk").file(desktop + "\\B.lnk").file(desktop + "\\C\\D.lnk");
  f.shell.shortcut(desktop + "\\A.lnk", "C:file.txt")
      .shortcut(desktop + "\\B.lnk", "C:\\gone\\b.txt")
      .shortcut(desktop + "\\C\\D.lnk", "C:\\gone\\d.txt");
  EXPECT_EQ(f.Run(ScanShortcuts, 17), (std::vector<ProblemEntry>{
                                          ShortcutRow(desktop + "\\B.lnk", "C:\\gone\\b.txt"),
                                          ShortcutRow(desktop + "\\C\\D.lnk", "C:\\gone\\d.txt"),
                                      }));
}

TEST(ScanShortcuts, FoldersUnderApplicationDataAreWalkedOnceInTableOrder) {
  ScanFixture f;
  const std::string roaming = "C:\\Users\\User\\AppData\\Roaming";
  const std::string common = "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\common.lnk";
  const std::string publicDesktop = "C:\\Users\\Public\\Desktop\\public.lnk";
  const std::string vendor = roaming + "\\Vendor\\app.lnk";
  const std::string recent = roaming + "\\Microsoft\\Windows\\Recent\\recent.lnk";
  const std::string startMenu = roaming + "\\Microsoft\\Windows\\Start Menu\\start.lnk";
  const std::string desktop = std::string(kDesktop) + "\\desktop.lnk";
  for (const std::string& path : {common, publicDesktop, vendor, recent, startMenu, desktop}) f.fs.file(path);
  f.Run(ScanShortcuts, 17);
  EXPECT_EQ(f.sink.Only("key:"), (std::vector<std::string>{"key:" + common, "key:" + publicDesktop, "key:" + recent,
                                                           "key:" + startMenu, "key:" + vendor, "key:" + desktop}));
}

TEST(ScanShortcuts, RecentAndStartMenuOutsideApplicationDataAreWalkedToo) {
  ScanFixture f;
  f.shell.specialFolder(SpecialFolder::AppData, "C:\\Documents and Settings\\User\\Application Data")
      .specialFolder(SpecialFolder::Recent, "C:\\Documents and Settings\\User\\Recent")
      .specialFolder(SpecialFolder::StartMenu, "C:\\Documents and Settings\\User\\Start Menu")
      .specialFolder(SpecialFolder::CommonStartMenu, std::nullopt);
  f.fs.file("C:\\Documents and Settings\\User\\Recent\\r.lnk")
      .file("C:\\Documents and Settings\\User\\Start Menu\\s.lnk");
  f.Run(ScanShortcuts, 17);
  EXPECT_EQ(f.sink.Only("key:"), (std::vector<std::string>{"key:C:\\Documents and Settings\\User\\Recent\\r.lnk",
                                                           "key:C:\\Documents and Settings\\User\\Start Menu\\s.lnk"}));
}

TEST(ScanShortcuts, LinkedFoldersAreNotEntered) {
  ScanFixture f;
  const std::string desktop = kDesktop;
  f.fs.file(desktop + "\\Linked\\a.lnk").file(desktop + "\\Plain\\b.lnk");
  f.fs.attributes(desktop + "\\Linked", {.reparsePoint = true});
  f.shell.shortcut(desktop + "\\Linked\\a.lnk", "C:\\gone\\a.txt").shortcut(desktop + "\\Plain\\b.lnk", "C:\\gone\\b.txt");
  EXPECT_EQ(f.Run(ScanShortcuts, 17),
            (std::vector<ProblemEntry>{ShortcutRow(desktop + "\\Plain\\b.lnk", "C:\\gone\\b.txt")}));
}

TEST(ScanShortcuts, OnWow64TargetsInSystemFoldersAreNeverReported) {
  ScanFixture f;
  f.flags.IsWow64 = true;
  const std::string desktop = kDesktop;
  f.fs.file(desktop + "\\a.lnk").file(desktop + "\\b.lnk").file(desktop + "\\c.lnk");
  f.shell.shortcut(desktop + "\\a.lnk", "C:\\Windows\\SYSTEM32\\gone.exe")
      .shortcut(desktop + "\\b.lnk", "C:\\Program Files\\App\\gone.exe")
      .shortcut(desktop + "\\c.lnk", "C:\\Apps\\gone.exe");
  EXPECT_EQ(f.Run(ScanShortcuts, 17),
            (std::vector<ProblemEntry>{ShortcutRow(desktop + "\\c.lnk", "C:\\Apps\\gone.exe")}));
}

TEST(ScanShortcuts, AFloppyTargetIsReportedWhenItsDriveHeldNoDisk) {
  ScanFixture f;
  OptionsSetting.IncludeRemoveMedia = true;
  f.flags.DriveLetters = "abc";
  f.fs.removableDrive('a', false).removableDrive('b');
  const std::string desktop = kDesktop;
  f.fs.file(desktop + "\\a.lnk").file(desktop + "\\b.lnk").file("B:\\present.txt");
  f.shell.shortcut(desktop + "\\a.lnk", "a:\\present.txt").shortcut(desktop + "\\b.lnk", "B:\\present.txt");
  f.flags.DriveBReady = true;
  EXPECT_EQ(f.Run(ScanShortcuts, 17), (std::vector<ProblemEntry>{ShortcutRow(desktop + "\\a.lnk", "a:\\present.txt")}));
}

TEST(ScanSoundEvents, TestsTheSchemeKeysAtEveryLevelIncludingTheDefaultApplication) {
  ScanFixture f;
  f.fs.file("C:\\Windows\\Media\\ding.wav");
  const std::string base = kSchemes;
  f.reg.key(base).str("", "C:\\Windows\\Media\\top.wav");
  f.reg.key(base + "\\.Default").str("", "C:\\Windows\\Media\\default-app.wav");
  f.reg.key(base + "\\.Default\\SystemAsterisk\\.Current").str("", "C:\\Windows\\Media\\gone.wav");
  f.reg.key(base + "\\.Default\\SystemAsterisk\\.Default").expand("", "C:\\Windows\\Media\\ding.wav");
  f.reg.key(base + "\\.Default\\SystemAsterisk\\Utopia0").str("", "C:\\Windows\\Media\\utopia.wav");
  f.reg.key(base + "\\.Default\\SystemAsterisk\\Other").str("", "C:\\Windows\\Media\\other.wav");
  f.reg.key(base + "\\.Default\\SystemHand\\.Current").str("", "ding.wav");
  f.reg.key(base + "\\.Default\\SystemHand\\.Default").binary("", {1, 2});
  f.reg.key(base + "\\Explorer\\Navigating\\.current").str("", "C:\\Windows\\Media\\click.wav");

  const std::string problem = "Missing Sound File";
  EXPECT_EQ(f.Run(ScanSoundEvents, 18),
            (std::vector<ProblemEntry>{
                Row(problem, base + "\\.Default", "C:\\Windows\\Media\\default-app.wav",
                    RepairAction::DeleteDefaultValue),
                Row(problem, base + "\\.Default\\SystemAsterisk\\.Current", "C:\\Windows\\Media\\gone.wav",
                    RepairAction::DeleteDefaultValue),
                Row(problem, base + "\\.Default\\SystemAsterisk\\Utopia0", "C:\\Windows\\Media\\utopia.wav",
                    RepairAction::DeleteDefaultValue),
                Row(problem, base + "\\Explorer\\Navigating\\.current", "C:\\Windows\\Media\\click.wav",
                    RepairAction::DeleteDefaultValue),
            }));
}

}  // namespace
}  // namespace quillet::testing
