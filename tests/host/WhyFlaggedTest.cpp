// Every row says why its scanner flagged it: one case per kind of test the scanners make.
#include <gtest/gtest.h>

#include <functional>

#include "MainWindowFixture.h"
#include "ScanFixture.h"
#include "scan/ActiveXInstallerScans.h"
#include "scan/FileExtensionScans.h"
#include "scan/FilesAndFoldersScans.h"
#include "scan/MruHistoryScans.h"
#include "scan/ObsoleteEmptyKeyScans.h"
#include "scan/ServiceShortcutSoundScans.h"
#include "scan/SoftwareLocationScans.h"
#include "scan/StartupUninstallScans.h"

namespace quillet::testing {
namespace {

constexpr const char* kLm = "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion";
constexpr const char* kCu = "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion";

struct WhyCase {
  const char* name;
  Scanner scanner;
  int code;
  std::function<void(ScanFixture&)> seed;
  std::vector<std::string> reasons;  // of the rows, in the order found
};

const WhyCase kCases[] = {
    {"FilesAndFolders", ScanFilesAndFolders, 3,
     [](ScanFixture& f) { f.reg.key("HKEY_LOCAL_MACHINE\\Software\\Vendor").str("Path", "\"C:\\Old\\app.exe\" /run"); },
     {"C:\\Old\\app.exe does not exist"}},
    {"AppPaths", ScanSoftwareLocations, 6,
     [](ScanFixture& f) {
       f.reg.key(std::string(kLm) + "\\App Paths\\blank.exe").str("", "");
       f.reg.key(std::string(kLm) + "\\App Paths\\gone.exe").str("", "%SystemRoot%\\gone.exe -x");
       f.fs.env("SystemRoot", "C:\\Windows").folder("C:\\Windows");
     },
     {"holds nothing but an empty default value", "C:\\Windows\\gone.exe does not exist"}},
    {"SharedDlls", ScanSharedDlls, 9,
     [](ScanFixture& f) {
       f.fs.file("C:\\Apps\\unused.dll");
       f.reg.key(std::string(kLm) + "\\SharedDlls").dword("C:\\Apps\\missing.dll", 2).dword("C:\\Apps\\unused.dll", 0);
     },
     {"C:\\Apps\\missing.dll does not exist", "no program uses this shared file any more (use count 0)"}},
    {"StartupPrograms", ScanStartupPrograms, 10,
     [](ScanFixture& f) { f.reg.key(std::string(kCu) + "\\Run").str("Nothing", "").str("Gone", "C:\\Tools\\gone.exe"); },
     {"the command line is empty", "C:\\Tools\\gone.exe does not exist"}},
    {"UninstallEntries", ScanUninstallEntries, 11,
     [](ScanFixture& f) { f.reg.key(std::string(kLm) + "\\Uninstall\\Old").str("DisplayName", "Old"); },
     {"has no uninstall command"}},
    {"FileExtensions", ScanFileExtensions, 12,
     [](ScanFixture& f) {
       f.reg.key("HKEY_LOCAL_MACHINE\\Software\\Classes\\.blank").str("", "");
       f.reg.key("HKEY_LOCAL_MACHINE\\Software\\Classes\\.gone");
     },
     {"holds nothing but an empty default value", "holds no values, and no subkey holds any"}},
    {"Interfaces", ScanCustomControls, 13,
     [](ScanFixture& f) {
       f.reg.key("HKEY_CLASSES_ROOT\\Interface\\{I1}").str("", "IOne");
       f.reg.key("HKEY_CLASSES_ROOT\\Interface\\{I1}\\TypeLib").str("", "{T-GONE}");
       f.reg.key("HKEY_CLASSES_ROOT\\Interface\\{I2}").str("", "ITwo");
       f.reg.key("HKEY_CLASSES_ROOT\\Interface\\{I2}\\TypeLib").str("", "");
     },
     {"type library {T-GONE} is not registered", "names no type library"}},
    {"ObsoleteSoftware", ScanObsoleteSoftware, 14,
     [](ScanFixture& f) { f.reg.key("HKEY_CURRENT_USER\\Software\\Chain\\Product"); },
     {"holds no values, and no subkey holds any"}},
    {"WindowsServices", ScanWindowsServices, 15,
     [](ScanFixture& f) {
       f.reg.key("HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\Agent").str("ImagePath", "\"C:\\Tools\\agent.exe\" -s");
     },
     {"C:\\Tools\\agent.exe does not exist"}},
    {"StartMenu", ScanStartMenu, 16,
     [](ScanFixture& f) { f.reg.key(std::string(kCu) + "\\Explorer\\MenuOrder\\Start Menu\\Programs\\Removed"); },
     {"the Start menu has no folder Removed"}},
    {"Shortcuts", ScanShortcuts, 17,
     [](ScanFixture& f) {
       const std::string link = "C:\\Users\\User\\Desktop\\Report.lnk";
       f.fs.file(link);
       f.shell.shortcut(link, "C:\\Docs\\report.txt");
     },
     {"the target C:\\Docs\\report.txt does not exist"}},
    {"SoundEvents", ScanSoundEvents, 18,
     [](ScanFixture& f) { f.reg.key("HKEY_CURRENT_USER\\AppEvents\\Schemes\\Apps\\.Default\\Beep\\.Current").str("", "C:\\Media\\gone.wav"); },
     {"C:\\Media\\gone.wav does not exist"}},
    {"ClassIds", ScanClassIds, 19,
     [](ScanFixture& f) { f.reg.key("HKEY_CLASSES_ROOT\\CLSID\\{C1}").str("AppID", "{NOWHERE}"); },
     {"application ID {NOWHERE} is not registered"}},
    {"RecentFiles", ScanMruLists, 20,
     [](ScanFixture& f) { f.reg.key(std::string(kCu) + "\\Explorer\\ComDlg32\\OpenSaveMRU").str("a", "C:\\Docs\\gone.txt"); },
     {"C:\\Docs\\gone.txt does not exist"}},
    {"InstallerCache", ScanInstaller, 21,
     [](ScanFixture& f) { f.reg.key(std::string(kLm) + "\\App Management\\ARPCache\\OldApp").dword("Size", 1); },
     {"OldApp is no longer an installed program"}},
    {"Applications", ScanApplications, 22,
     [](ScanFixture& f) { f.reg.key("HKEY_LOCAL_MACHINE\\Software\\Classes\\Applications\\x.exe\\shell\\open\\command").str("", ""); },
     {"the command line is empty"}},
    {"EmptyKeys", ScanEmptyKeys, 23,
     [](ScanFixture& f) { f.reg.key("HKEY_USERS\\S-1-5-21\\Software\\Empty").dword("Kept", 1); f.reg.key("HKEY_USERS\\S-1-5-21\\Software\\Empty\\Leaf"); },
     {"holds no values, and no subkey holds any"}},
};

class WhyFlaggedTest : public ::testing::TestWithParam<WhyCase> {};

TEST_P(WhyFlaggedTest, EveryRowCarriesTheReasonItsScannerDecidedOn) {
  const WhyCase& c = GetParam();
  ScanFixture f;
  c.seed(f);
  std::vector<std::string> reasons;
  for (const ProblemEntry& row : f.Run(c.scanner, c.code)) reasons.push_back(row.reason);
  EXPECT_EQ(reasons, c.reasons);
}

INSTANTIATE_TEST_SUITE_P(Scanners, WhyFlaggedTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The reason shows as the row's tip and in the status line while that row alone is selected.
TEST(WhyFlaggedInList, TheSelectedRowsReasonTakesTheFirstPanelUntilTheSelectionGoes) {
  MainWindowFixture fixture;
  fixture.Open();
  ScriptedScanners::Set(10, [](ScanContext& context) {
    context.AddRow("HKEY_CURRENT_USER\\Software\\A", "", RepairAction::DeleteKey, "C:\\A.exe does not exist");
    context.AddRow("HKEY_CURRENT_USER\\Software\\B", "", RepairAction::DeleteKey, "the command line is empty");
  });
  fixture.TickOnly({10});
  TfrmQuillet& window = fixture.Window();
  window.bScanRegistryClick();
  TProblemList& list = *window.lvRegistryData;
  ASSERT_EQ(list.Count(), 2u);
  EXPECT_EQ(list.OnInfoTip(1), "the command line is empty");
  const std::string counts = window.StatusBar1->PanelText(0);
  EXPECT_EQ(counts, " 2 problems found");

  list.SetSelectedFromUser(0, true);
  list.SelectionChangedByUser();
  EXPECT_EQ(window.StatusBar1->PanelText(0), " C:\\A.exe does not exist");
  list.SetSelectedFromUser(1, true);
  list.SelectionChangedByUser();
  EXPECT_EQ(window.StatusBar1->PanelText(0), counts) << "two rows selected";
  list.SetAllSelectedFromUser(false);
  list.SelectionChangedByUser();
  EXPECT_EQ(window.StatusBar1->PanelText(0), counts);
  ScriptedScanners::Clear();
}

}  // namespace
}  // namespace quillet::testing
