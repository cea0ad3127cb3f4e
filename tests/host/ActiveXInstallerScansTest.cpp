#include <gtest/gtest.h>

#include "ScanFixture.h"
#include "scan/ActiveXInstallerScans.h"

namespace quillet::testing {
namespace {

constexpr const char* kActiveX = "ActiveX Issue";
constexpr const char* kInstaller = "Installer Reference Issue";
constexpr const char* kApplication = "Open with Application Issue";
constexpr const char* kClsid = "HKEY_CLASSES_ROOT\\CLSID";
constexpr const char* kVersion = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
constexpr const char* kApplications = "HKEY_LOCAL_MACHINE\\Software\\Classes\\Applications";

ProblemEntry Row(std::string problem, std::string keyPath, std::string value, RepairAction action) {
  return ProblemEntry{std::move(problem), std::move(keyPath), std::move(value), action, false};
}

void SeedTypeLibraries(ScanFixture& f) {
  const std::string lib = "HKEY_CLASSES_ROOT\\TypeLib\\{11111111-0000-0000-0000-000000000000}\\1.0";
  f.reg.key(lib + "\\0\\win32").str("", "C:\\Windows\\System32\\gone.dll");
  f.reg.key(lib + "\\1\\win32").str("", "C:\\Windows\\System32\\gone.ocx");
  f.reg.key(lib + "\\2\\win32").str("", "C:\\Windows\\System32\\gone.tlb");
  f.reg.key(lib + "\\3\\win32").str("", "C:\\Windows\\System32\\present.dll\\2");
  f.fs.file("C:\\Windows\\System32\\present.dll");
}

TEST(ScanActiveX, ReportsTypeLibrariesNamingAMissingDll) {
  ScanFixture f;
  SeedTypeLibraries(f);
  EXPECT_EQ(f.Run(ScanActiveX, 19),
            (std::vector<ProblemEntry>{Row(kActiveX,
                                           "HKEY_CLASSES_ROOT\\TypeLib\\{11111111-0000-0000-0000-000000000000}"
                                           "\\1.0\\0\\win32\\",
                                           "C:\\Windows\\System32\\gone.dll", RepairAction::DeleteValueInPath)}));
}

TEST(ScanActiveX, LeavesTypeLibrariesToTheMachineWalkWhenItIsInTheRun) {
  ScanFixture f;
  SeedTypeLibraries(f);
  f.reg.key(std::string(kClsid) + "\\{C0000000-0000-0000-0000-000000000000}").str("AppID", "{Nowhere}");
  ScanContext context(f.reg, f.fs, f.shell, f.flags, f.sink, f.stop, {3, 19});
  context.BeginCategory(*FindScanCategory(19));
  ScanActiveX(context);
  EXPECT_EQ(f.sink.Rows(), (std::vector<ProblemEntry>{Row(kActiveX,
                                                          std::string(kClsid) +
                                                              "\\{C0000000-0000-0000-0000-000000000000}",
                                                          "{Nowhere}", RepairAction::DeleteKey)}));
}

TEST(ScanClassIds, ReportsClassesWhoseApplicationIdentifierPointsNowhere) {
  ScanFixture f;
  const std::string clsid = kClsid;
  f.reg.key("HKEY_CLASSES_ROOT\\AppID\\{aaaa-known}");
  f.reg.key("HKEY_CLASSES_ROOT\\AppID\\server.exe{B-SELF}");
  f.reg.key(clsid + "\\{A}").str("AppID", "{AAAA-KNOWN}");
  f.reg.key(clsid + "\\{B-SELF}").str("AppID", "{Elsewhere}");
  f.reg.key(clsid + "\\{C}").str("AppID", "{Nowhere}");
  f.reg.key(clsid + "\\{D}").expand("AppID", "{Nowhere}");
  f.reg.key(clsid + "\\{D}\\InprocServer32").str("", "C:\\Windows\\System32\\OLEACC.DLL");
  f.reg.key(clsid + "\\{E}").str("AppID", "{Nowhere}");
  f.reg.key(clsid + "\\{E}\\InprocServer32").dword("", 1);
  f.reg.key(clsid + "\\{F}").str("AppID", "{Nowhere}");
  f.reg.key(clsid + "\\{F}\\InprocServer32").str("", "C:\\Windows\\System32\\present.dll");
  f.reg.key(clsid + "\\{G}").str("Name", "no application identifier");
  f.reg.key(clsid + "\\{H}").str("AppID", "");
  f.reg.key(clsid + "\\{I}").binary("AppID", {1});
  f.reg.key(clsid + "\\{91C4C540-9FDD-11D2-AFAA-00105A305A2B}").str("AppID", "{Nowhere}");

  EXPECT_EQ(f.Run(ScanClassIds, 19), (std::vector<ProblemEntry>{
                                         Row(kActiveX, clsid + "\\{C}", "{Nowhere}", RepairAction::DeleteKey),
                                         Row(kActiveX, clsid + "\\{F}", "{Nowhere}", RepairAction::DeleteKey),
                                     }));
  EXPECT_EQ(f.sink.Only("key:").size(), 10u) << "every class is shown, the fixed one too";
}

TEST(ScanClassIds, TheFixedClassIdentifierIsPassedOverInExactCaseOnly) {
  ScanFixture f;
  const std::string lower = std::string(kClsid) + "\\{91c4c540-9fdd-11d2-afaa-00105a305a2b}";
  f.reg.key(lower).str("AppID", "{Nowhere}");
  EXPECT_EQ(f.Run(ScanClassIds, 19),
            (std::vector<ProblemEntry>{Row(kActiveX, lower, "{Nowhere}", RepairAction::DeleteKey)}));
}

TEST(ScanInstaller, ReportsMissingUninstallProgramsFoldersAndOrphanedCacheEntries) {
  ScanFixture f;
  const std::string version = kVersion;
  f.fs.folder("C:\\Apps\\Present");
  f.reg.key(version + "\\Uninstall\\App")
      .str("UninstallString", "C:\\Apps\\gone.exe /x")
      .str("DisplayIcon", "C:\\Apps\\gone.ico");
  f.reg.key(version + "\\Installer\\Folders").str("C:\\Apps\\Gone\\", "").str("C:\\Apps\\Present\\", "");
  // The cache is read only, so one that denies full access is scanned all the same.
  f.reg.key(version + "\\App Management\\ARPCache").denyFullAccess();
  f.reg.key(version + "\\App Management\\ARPCache\\app");
  f.reg.key(version + "\\App Management\\ARPCache\\Removed");

  EXPECT_EQ(f.Run(ScanInstaller, 21),
            (std::vector<ProblemEntry>{
                Row(kInstaller, version + "\\Uninstall\\App\\UninstallString", "C:\\Apps\\gone.exe /x",
                    RepairAction::DeleteValueInPath),
                Row(kInstaller, version + "\\Installer\\Folders", "C:\\Apps\\Gone\\", RepairAction::DeleteNamedValue),
                Row(kInstaller, version + "\\App Management\\ARPCache", "Removed", RepairAction::DeleteNamedSubkey),
            }));
}

TEST(ScanApplications, ReportsEachCommandKeyWithAMissingOrEmptyProgram) {
  ScanFixture f;
  f.fs.file("C:\\Apps\\present.exe");
  const std::string apps = kApplications;
  f.reg.key(apps + "\\binary.exe\\shell\\open\\command").binary("", {1});
  f.reg.key(apps + "\\empty.exe\\shell\\open\\command").str("", "");
  f.reg.key(apps + "\\multi.exe\\shell\\edit\\command").str("", "\"C:\\Apps\\gone.exe\" /edit \"%1\"");
  f.reg.key(apps + "\\multi.exe\\shell\\open\\command").str("", "C:\\Apps\\present.exe \"%1\"");
  f.reg.key(apps + "\\multi.exe\\shell\\print\\command").expand("", "C:\\Apps\\gone.exe /p \"%1\"");
  f.reg.key(apps + "\\nested.exe\\command").str("", "C:\\Apps\\present.exe");
  f.reg.key(apps + "\\nested.exe\\shell\\open\\command").str("", "C:\\Apps\\gone.exe");
  f.reg.key(apps + "\\nodefault.exe\\shell\\open\\command").str("Other", "x");
  f.reg.key(apps + "\\noverb.exe").str("FriendlyAppName", "Nothing to run");

  EXPECT_EQ(f.Run(ScanApplications, 22),
            (std::vector<ProblemEntry>{
                Row(kApplication, apps + "\\empty.exe\\shell\\open\\command", "", RepairAction::DeleteKey),
                Row(kApplication, apps + "\\multi.exe\\shell\\edit\\command", "\"C:\\Apps\\gone.exe\" /edit \"%1\"",
                    RepairAction::DeleteKey),
                Row(kApplication, apps + "\\multi.exe\\shell\\print\\command", "C:\\Apps\\gone.exe /p \"%1\"",
                    RepairAction::DeleteKey),
                Row(kApplication, apps + "\\nodefault.exe\\shell\\open\\command", "", RepairAction::DeleteKey),
            }));
  EXPECT_TRUE(f.sink.Only("status:").empty()) << "the status line keeps the previous category's text";
  EXPECT_EQ(f.sink.Only("key:").size(), 6u);
}

}  // namespace
}  // namespace quillet::testing
