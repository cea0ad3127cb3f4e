#include <gtest/gtest.h>

#include "ScanFixture.h"
#include "scan/StartupUninstallScans.h"

namespace quillet::testing {
namespace {

constexpr const char* kCurrentUserRun = "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kCurrentUserRunOnce = "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
constexpr const char* kMachineRun = "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kMachineRunOnce = "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
constexpr const char* kStartupBackup = "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Shared Tools\\MSConfig\\startupreg";
constexpr const char* kUninstall = "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
constexpr const char* kStartupProblem = "Missing Startup Programs";
constexpr const char* kUninstallProblem = "Add/Remove Programs Issue";

ProblemEntry Row(std::string problem, std::string keyPath, std::string value, RepairAction action) {
  return ProblemEntry{std::move(problem), std::move(keyPath), std::move(value), action, false};
}

TEST(ScanStartupPrograms, ReportsEmptyQuotedAndMissingProgramsOfEveryRunList) {
  ScanFixture f;
  f.fs.file("C:\\Tools\\present.exe");
  f.reg.key(kCurrentUserRun)
      .str("Present", "\"C:\\Tools\\present.exe\" /tray")
      .str("Empty", "")
      .str("Quotes", "\"\"")
      .expand("Gone", "C:\\Gone\\gone.exe")
      .str("Network", "Z:\\Share\\gone.exe")
      .str("Unc", "\\\\server\\share\\gone.exe")
      .dword("Number", 1)
      .str("C:\\Odd\\Name", "C:\\Gone\\odd.exe");
  f.reg.key(kCurrentUserRunOnce).str("Once", "C:\\Gone\\once.exe");
  f.reg.key(kMachineRun).str("Machine", "C:\\Gone\\machine.exe");
  f.reg.key(kMachineRunOnce).str("MachineOnce", "C:\\Gone\\machineonce.exe");

  EXPECT_EQ(f.Run(ScanStartupPrograms, 10),
            (std::vector<ProblemEntry>{
                Row(kStartupProblem, std::string(kCurrentUserRun) + "\\Empty", "", RepairAction::DeleteValueInPath),
                Row(kStartupProblem, std::string(kCurrentUserRun) + "\\Quotes", "\"\"",
                    RepairAction::DeleteValueInPath),
                Row(kStartupProblem, std::string(kCurrentUserRun) + "\\Gone", "C:\\Gone\\gone.exe",
                    RepairAction::DeleteValueInPath),
                Row(kStartupProblem, kCurrentUserRun, "C:\\Odd\\Name", RepairAction::DeleteNamedValue),
                Row(kStartupProblem, std::string(kCurrentUserRunOnce) + "\\Once", "C:\\Gone\\once.exe",
                    RepairAction::DeleteValueInPath),
                Row(kStartupProblem, std::string(kMachineRun) + "\\Machine", "C:\\Gone\\machine.exe",
                    RepairAction::DeleteValueInPath),
                Row(kStartupProblem, std::string(kMachineRunOnce) + "\\MachineOnce", "C:\\Gone\\machineonce.exe",
                    RepairAction::DeleteValueInPath),
            }));
}

TEST(ScanStartupPrograms, BackupEntriesWithoutACommandDoNotHideTheOnesAfterThem) {
  ScanFixture f;
  f.fs.file("C:\\Tools\\present.exe");
  f.reg.key(std::string(kStartupBackup) + "\\A Binary").binary("command", {1});
  f.reg.key(std::string(kStartupBackup) + "\\B Gone").str("command", "C:\\Gone\\b.exe -start");
  f.reg.key(std::string(kStartupBackup) + "\\C Locked").denyFullAccess().str("command", "C:\\Gone\\c.exe");
  f.reg.key(std::string(kStartupBackup) + "\\D None").str("item", "C:\\Gone\\d.exe");
  f.reg.key(std::string(kStartupBackup) + "\\E Present").str("command", "C:\\Tools\\present.exe");
  f.reg.key(std::string(kStartupBackup) + "\\F Gone").expand("command", "C:\\Gone\\f.exe");

  EXPECT_EQ(f.Run(ScanStartupPrograms, 10),
            (std::vector<ProblemEntry>{
                Row(kStartupProblem, std::string(kStartupBackup) + "\\B Gone", "C:\\Gone\\b.exe -start",
                    RepairAction::DeleteKey),
                Row(kStartupProblem, std::string(kStartupBackup) + "\\F Gone", "C:\\Gone\\f.exe",
                    RepairAction::DeleteKey),
            }));
}

// Asks for a stop as soon as the backup key is shown, so the stop arrives inside its error guard.
class StopAtBackupKeySink : public RecordingSink {
 public:
  explicit StopAtBackupKeySink(StopFlag& stop) : stop_(stop) {}
  void ShowScannedKey(const std::string& keyPath) override {
    RecordingSink::ShowScannedKey(keyPath);
    if (keyPath.find("startupreg") != std::string::npos) stop_.Request();
  }

 private:
  StopFlag& stop_;
};

TEST(ScanStartupPrograms, AStopPassesThroughTheBackupKeyErrorGuard) {
  ScanFixture f;
  f.reg.key(std::string(kStartupBackup) + "\\Gone").str("command", "C:\\Gone\\b.exe");
  StopAtBackupKeySink sink(f.stop);
  ScanContext context(f.reg, f.fs, f.shell, f.flags, sink, f.stop, {10});
  context.BeginCategory(*FindScanCategory(10));
  EXPECT_THROW(ScanStartupPrograms(context), ScanStopped);
  EXPECT_TRUE(sink.Rows().empty());
  EXPECT_EQ(sink.Only("key:").size(), 1u);
}

TEST(ScanStartupPrograms, ValueListScanIgnoresNamesThatAreNoLongRootName) {
  ScanFixture f;
  f.reg.key(kCurrentUserRun).str("Empty", "");
  std::unique_ptr<ScanContext> context = f.Context();
  ValueListScan(*context, "HKCU", "Software\\Microsoft\\Windows\\CurrentVersion\\Run");
  EXPECT_TRUE(f.sink.Rows().empty());
  ValueListScan(*context, "hkey_current_user", "Software\\Microsoft\\Windows\\CurrentVersion\\Run");
  ASSERT_EQ(f.sink.Rows().size(), 1u);
  EXPECT_EQ(f.sink.Rows()[0].keyPath, std::string(kCurrentUserRun) + "\\Empty") << "the root stands upper-cased";
}

TEST(ScanUninstallEntries, ReportsEntriesWithoutUninstallerUnlessSystemComponentOrClassId) {
  ScanFixture f;
  const std::string base = kUninstall;
  f.reg.key(base + "\\{12345678-ABCD}").str("DisplayName", "Class id entry");
  f.reg.key(base + "\\Broken").str("DisplayName", "Only a name");
  f.reg.key(base + "\\Empty");
  f.reg.key(base + "\\Lower").str("uninstallstring", "C:\\Gone\\unins.exe");
  f.reg.key(base + "\\Normal").str("UninstallString", "C:\\Gone\\unins.exe");
  f.reg.key(base + "\\Quiet").str("QuietUninstallString", "C:\\Gone\\unins.exe /q");
  f.reg.key(base + "\\System").str("DisplayName", "Hidden").binary("systemcomponent", {});

  EXPECT_EQ(f.Run(ScanUninstallEntries, 11),
            (std::vector<ProblemEntry>{
                Row(kUninstallProblem, base, "Broken", RepairAction::DeleteNamedSubkey),
                Row(kUninstallProblem, base, "Empty", RepairAction::DeleteNamedSubkey),
                Row(kUninstallProblem, base, "Lower", RepairAction::DeleteNamedSubkey),
            }));
  EXPECT_EQ(f.sink.Only("key:").size(), 6u) << "every entry but the class id one is shown";
}

TEST(StartupUninstallScans, AddNothingWhenTheirKeysAreMissing) {
  ScanFixture f;
  EXPECT_TRUE(f.Run(ScanStartupPrograms, 10).empty());
  EXPECT_TRUE(f.Run(ScanUninstallEntries, 11).empty());
}

}  // namespace
}  // namespace quillet::testing
