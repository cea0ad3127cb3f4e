#include <gtest/gtest.h>

#include "ScanFixture.h"
#include "scan/SoftwareLocationScans.h"

namespace quillet::testing {
namespace {

constexpr const char* kAppPaths = "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\App Paths";
constexpr const char* kFonts = "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Fonts";
constexpr const char* kHelp = "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\Help";
constexpr const char* kHtmlHelp = "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\Html Help";
constexpr const char* kSharedDlls = "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\SharedDlls";

ProblemEntry Row(std::string problem, std::string keyPath, std::string value, RepairAction action) {
  return ProblemEntry{std::move(problem), std::move(keyPath), std::move(value), action, false};
}

TEST(ScanSoftwareLocations, ReportsAppPathsWhoseProgramIsGoneOrEmpty) {
  ScanFixture f;
  f.fs.file("C:\\Office\\WINWORD.EXE");
  const std::string base = kAppPaths;
  f.reg.key(base + "\\winword.exe").str("", "\"C:\\Office\\winword.exe\" /n").str("Path", "C:\\Office");
  f.reg.key(base + "\\Foo").str("", "C:\\Gone\\Foo");
  f.reg.key(base + "\\readme.txt").str("", "C:\\Gone\\readme.txt");
  f.reg.key(base + "\\x.dll").str("", "C:\\Gone\\x.dll");
  f.reg.key(base + "\\gone.exe").expand("", "C:\\Gone\\gone.exe /q");
  f.reg.key(base + "\\lonely.exe").str("", "");
  f.reg.key(base + "\\withpath.exe").str("", "").str("Path", "C:\\Office");
  f.reg.key(base + "\\nodefault.exe");
  f.reg.key(base + "\\binarydefault.exe").binary("", {1, 2});
  f.reg.key(base + "\\emptychain.exe").subkey("Empty");
  f.reg.key(base + "\\pathonly.exe").str("Path", "C:\\Gone");

  const std::string problem = "Software Locations Issue";
  EXPECT_EQ(f.Run(ScanSoftwareLocations, 6),
            (std::vector<ProblemEntry>{
                Row(problem, base + "\\emptychain.exe", "", RepairAction::DeleteKey),
                Row(problem, base + "\\Foo", "C:\\Gone\\Foo", RepairAction::DeleteKey),
                Row(problem, base + "\\gone.exe", "C:\\Gone\\gone.exe /q", RepairAction::DeleteKey),
                Row(problem, base + "\\lonely.exe", "", RepairAction::DeleteKey),
                Row(problem, base + "\\nodefault.exe", "", RepairAction::DeleteKey),
            }));
  EXPECT_EQ(f.sink.Only("status:"), std::vector<std::string>{"status:Scanning Software Locations..."});
  EXPECT_EQ(f.sink.Only("key:").size(), 10u) << "the base key and the nine scanned subkeys";
}

TEST(ScanWindowsFonts, BareNamesNeverBreakFullPathsDo) {
  ScanFixture f;
  f.fs.file("C:\\Windows\\Fonts\\arial.ttf").folder("C:\\Windows\\Fonts\\Folder.ttf").file("C:\\Other\\present.ttf");
  f.reg.key(kFonts)
      .str("Arial (TrueType)", "ARIAL.TTF")
      .str("Gone (TrueType)", "gone.ttf")
      .str("Folder (TrueType)", "folder.ttf")
      .str("Present (TrueType)", "C:\\Other\\present.ttf")
      .str("Full (TrueType)", "C:\\Other\\gone.ttf")
      .expand("Odd\\Name", "C:\\Other\\gone2.ttf")
      .dword("Number", 3);
  const std::string problem = "Fonts Issue";
  EXPECT_EQ(f.Run(ScanWindowsFonts, 7),
            (std::vector<ProblemEntry>{
                Row(problem, std::string(kFonts) + "\\Full (TrueType)", "C:\\Other\\gone.ttf",
                    RepairAction::DeleteValueInPath),
                Row(problem, kFonts, "Odd\\Name", RepairAction::DeleteNamedValue),
            }));
}

TEST(ScanWindowsFonts, OlderWindowsKeepFontsUnderCurrentVersion) {
  ScanFixture f;
  f.flags.WindowsVersionCode = 3;
  const std::string oldKey = "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Fonts";
  f.reg.key(oldKey).str("Full", "C:\\Other\\gone.ttf");
  f.reg.key(kFonts).str("Ignored", "C:\\Other\\gone.ttf");
  std::vector<ProblemEntry> rows = f.Run(ScanWindowsFonts, 7);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].keyPath, oldKey + "\\Full");
}

TEST(ScanHelpFiles, JoinsFolderAndNameInBothHelpKeys) {
  ScanFixture f;
  f.fs.file("C:\\Help\\present.hlp");
  f.reg.key(kHelp)
      .str("bare.hlp", "")
      .str("present.hlp", "C:\\Help")
      .str("gone.hlp", "C:\\Help")
      .str("Sub\\gone.hlp", "C:\\Help\\");
  f.reg.key(kHtmlHelp).str("gone.chm", "C:\\Gone\\");
  const std::string problem = "Invalid Help Files";
  EXPECT_EQ(f.Run(ScanHelpFiles, 8),
            (std::vector<ProblemEntry>{
                Row(problem, std::string(kHelp) + "\\gone.hlp", "C:\\Help\\gone.hlp", RepairAction::DeleteValueInPath),
                Row(problem, kHelp, "Sub\\gone.hlp", RepairAction::DeleteNamedValue),
                Row(problem, std::string(kHtmlHelp) + "\\gone.chm", "C:\\Gone\\gone.chm",
                    RepairAction::DeleteValueInPath),
            }));
}

TEST(ScanSharedDlls, ReportsMissingFilesAndUnusedOnes) {
  ScanFixture f;
  f.fs.file("C:\\Windows\\System32\\used.dll").file("C:\\Windows\\System32\\unused.dll");
  f.reg.key(kSharedDlls)
      .dword("C:\\Windows\\System32\\used.dll", 2)
      .dword("C:\\Windows\\System32\\unused.dll", 0)
      .dword("C:\\Gone\\gone.dll", 1)
      .str("C:\\Gone\\text.dll", "1");
  const std::string problem = "Missing Shared Dlls";
  EXPECT_EQ(f.Run(ScanSharedDlls, 9),
            (std::vector<ProblemEntry>{
                Row(problem, kSharedDlls, "C:\\Windows\\System32\\unused.dll", RepairAction::DeleteNamedValue),
                Row(problem, kSharedDlls, "C:\\Gone\\gone.dll", RepairAction::DeleteNamedValue),
            }));
}

TEST(SoftwareLocationScans, AddNothingWhenTheirKeysAreMissing) {
  ScanFixture f;
  for (auto [scanner, code] : {std::pair<Scanner, int>{ScanSoftwareLocations, 6}, std::pair<Scanner, int>{ScanWindowsFonts, 7},
                               std::pair<Scanner, int>{ScanHelpFiles, 8}, std::pair<Scanner, int>{ScanSharedDlls, 9}}) {
    EXPECT_TRUE(f.Run(scanner, code).empty()) << code;
  }
}

}  // namespace
}  // namespace quillet::testing
