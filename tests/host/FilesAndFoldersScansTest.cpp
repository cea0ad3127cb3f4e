#include <gtest/gtest.h>

#include <algorithm>

#include "ScanFixture.h"
#include "scan/FilesAndFoldersScans.h"

namespace quillet::testing {
namespace {

constexpr const char* kProblem = "Invalid File or Folder";
constexpr const char* kVendor = "HKEY_LOCAL_MACHINE\\Software\\Vendor";
constexpr const char* kProfile = "HKEY_USERS\\S-1-5-21-100";

ProblemEntry Row(std::string keyPath, std::string value, RepairAction action) {
  return ProblemEntry{kProblem, std::move(keyPath), std::move(value), action, false};
}

// The rows whose key path starts with the given text.
std::vector<std::string> KeyPathsUnder(const std::vector<ProblemEntry>& rows, const std::string& prefix) {
  std::vector<std::string> paths;
  for (const ProblemEntry& row : rows) {
    if (row.keyPath.rfind(prefix, 0) == 0) paths.push_back(row.keyPath);
  }
  return paths;
}

TEST(ScanFilesAndFolders, TestsEveryStringValueTextDepthFirst) {
  ScanFixture f;
  f.fs.file("C:\\Vendor\\present.exe").folder("C:\\Vendor\\Data");
  f.reg.key(kVendor)
      .str("app.exe", "C:\\Old\\app.exe")
      .str("C:\\Old\\file.dll", "C:\\Old\\file.dll")
      .str("C:\\Gone\\name.dll", "C:\\Vendor\\present.exe")
      .str("", "C:\\Old\\default.exe")
      .str("Folder", "C:\\Vendor\\Data")
      .str("Ime", "C:\\WINDOWS\\System32\\IME\\x.dll")
      .str("Network", "Z:\\Share\\gone.exe")
      .multi("List", {"C:\\Old\\list.exe"})
      .dword("Number", 1);
  f.reg.key(std::string(kVendor) + "\\Sub").expand("Path", "C:\\Old\\sub.exe");
  f.reg.key("HKEY_LOCAL_MACHINE\\Outside").str("Path", "C:\\Old\\outside.exe");

  EXPECT_EQ(f.Run(ScanFilesAndFolders, 3),
            (std::vector<ProblemEntry>{
                Row(std::string(kVendor) + "\\app.exe", "C:\\Old\\app.exe", RepairAction::DeleteValueInPath),
                Row(kVendor, "C:\\Old\\file.dll", RepairAction::DeleteNamedValue),
                Row(std::string(kVendor) + "\\", "C:\\Old\\default.exe", RepairAction::DeleteValueInPath),
                Row(std::string(kVendor) + "\\Sub\\Path", "C:\\Old\\sub.exe", RepairAction::DeleteValueInPath),
            }));
  EXPECT_EQ(f.sink.Only("key:"),
            (std::vector<std::string>{"key:Software", "key:Software\\Vendor", "key:Software\\Vendor\\Sub"}));
}

TEST(ScanFilesAndFolders, MachineWalkSkipsTheKeysOtherCategoriesScanByWholePath) {
  ScanFixture f;
  const std::string version = "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion";
  f.reg.key(version + "\\RUN").str("a", "C:\\Old\\run.exe");
  f.reg.key(version + "\\run\\Deeper").str("a", "C:\\Old\\deeper.exe");
  f.reg.key(version + "\\RunOnceEx").str("a", "C:\\Old\\runonceex.exe");
  f.reg.key(version + "\\Uninstall\\App").str("a", "C:\\Old\\unins.exe");
  f.reg.key("HKEY_LOCAL_MACHINE\\Software\\Classes\\Applications\\x.exe").str("a", "C:\\Old\\x.exe");
  f.reg.key("HKEY_LOCAL_MACHINE\\Software\\Wow6432Node\\WOW6432NODE\\Vendor").str("a", "C:\\Old\\nested.exe");
  f.reg.key("HKEY_LOCAL_MACHINE\\Software\\Wow6432Node\\Vendor").str("a", "C:\\Old\\wow.exe");
  EXPECT_EQ(KeyPathsUnder(f.Run(ScanFilesAndFolders, 3), "HKEY_LOCAL_MACHINE"),
            (std::vector<std::string>{version + "\\RunOnceEx\\a", "HKEY_LOCAL_MACHINE\\Software\\Wow6432Node\\Vendor\\a"}));
}

TEST(ScanFilesAndFolders, CurrentUserSkipsItsRunListsThatTheUsersWalkTests) {
  ScanFixture f;
  const std::string run = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";
  f.reg.key(std::string("HKEY_CURRENT_USER") + run).str("a", "C:\\Old\\run.exe");
  f.reg.key("HKEY_CURRENT_USER\\AppEvents\\Schemes\\Apps\\.Default").str("", "C:\\Old\\sound.wav");
  f.reg.key("HKEY_CURRENT_USER\\Vendor").str("a", "C:\\Old\\vendor.exe");
  f.reg.key(std::string(kProfile) + run).str("a", "C:\\Old\\run.exe");
  f.reg.key(std::string(kProfile) + "\\AppEvents\\Schemes\\Apps\\.Default").str("", "C:\\Old\\sound.wav");

  EXPECT_EQ(KeyPathsUnder(f.Run(ScanFilesAndFolders, 4), "HKEY_CURRENT_USER"),
            std::vector<std::string>{"HKEY_CURRENT_USER\\Vendor\\a"});
  EXPECT_EQ(KeyPathsUnder(f.Run(ScanFilesAndFolders, 5), "HKEY_USERS"),
            (std::vector<std::string>{std::string(kProfile) + "\\AppEvents\\Schemes\\Apps\\.Default\\",
                                      std::string(kProfile) + run + "\\a"}));
}

struct VersionCase {
  const char* name;
  bool win7Or8;
  bool win8;
  std::vector<std::string> machineRows;
};

class VersionSkips : public ::testing::TestWithParam<VersionCase> {};

TEST_P(VersionSkips, ApplyToTheMachineWalkOnly) {
  const VersionCase& param = GetParam();
  ScanFixture f;
  f.flags.IsWin7Or8 = param.win7Or8;
  f.flags.IsWin8 = param.win8;
  const std::vector<std::string> keys = {
      "Software\\Classes\\CLSID\\{A}\\InProcServer32",
      "Software\\Classes\\TypeLib\\{T}",
      "Software\\Microsoft\\Vendor",
      "Software\\Vendor",
  };
  for (const std::string& key : keys) {
    f.reg.key("HKEY_LOCAL_MACHINE\\" + key).str("a", "C:\\Old\\a.dll");
    f.reg.key(std::string(kProfile) + "\\" + key).str("a", "C:\\Old\\a.dll");
  }
  f.reg.key("HKEY_LOCAL_MACHINE\\Software\\Vendor\\Software\\Microsoft\\Windows\\CurrentVersion\\ImmersiveShell")
      .str("a", "C:\\Old\\a.dll");
  std::vector<std::string> expected;
  for (const std::string& key : param.machineRows) expected.push_back("HKEY_LOCAL_MACHINE\\" + key + "\\a");
  EXPECT_EQ(KeyPathsUnder(f.Run(ScanFilesAndFolders, 3), "HKEY_LOCAL_MACHINE"), expected);

  EXPECT_EQ(KeyPathsUnder(f.Run(ScanFilesAndFolders, 5), "HKEY_USERS").size(), keys.size())
      << "a user profile is walked whatever the version";
}

INSTANTIATE_TEST_SUITE_P(
    Systems, VersionSkips,
    ::testing::Values(
        VersionCase{"Older", false, false,
                    {"Software\\Classes\\CLSID\\{A}\\InProcServer32", "Software\\Classes\\TypeLib\\{T}",
                     "Software\\Microsoft\\Vendor", "Software\\Vendor",
                     "Software\\Vendor\\Software\\Microsoft\\Windows\\CurrentVersion\\ImmersiveShell"}},
        VersionCase{"Win7", true, false,
                    {"Software\\Classes\\TypeLib\\{T}", "Software\\Microsoft\\Vendor", "Software\\Vendor",
                     "Software\\Vendor\\Software\\Microsoft\\Windows\\CurrentVersion\\ImmersiveShell"}},
        VersionCase{"Win8", true, true, {"Software\\Vendor"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(WalkFileReferences, OtherCategoriesGetOnlyTheRulesOfEveryWalk) {
  ScanFixture f;
  f.flags.IsWin7Or8 = true;
  f.flags.IsWin8 = true;
  const std::string version = "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion";
  f.reg.key(version + "\\Run").str("a", "C:\\Old\\run.exe");
  f.reg.key(version + "\\ImmersiveShell").str("a", "C:\\Old\\shell.exe");
  f.reg.key(version + "\\Ime").str("a", "C:\\Windows\\system32\\ime\\gone.dll");
  f.reg.key("HKEY_LOCAL_MACHINE\\Software\\Wow6432Node\\Wow6432Node\\Vendor").str("a", "C:\\Old\\nested.exe");
  ScanContext context(f.reg, f.fs, f.shell, f.flags, f.sink, f.stop, {19});
  context.BeginCategory(*FindScanCategory(19));
  WalkFileReferences(context, 19, "hkey_local_machine", "Software", "");
  EXPECT_EQ(f.sink.Rows(), (std::vector<ProblemEntry>{ProblemEntry{"ActiveX Issue", version + "\\Run\\a",
                                                                    "C:\\Old\\run.exe", RepairAction::DeleteValueInPath,
                                                                    false}}));
}

TEST(WalkFileReferences, HandsTheKeyNameOnAndPassesOverKeysThatDoNotOpen) {
  ScanFixture f;
  f.fs.file("C:\\Lib\\present.dll");
  f.reg.key(kVendor)
      .str("Cut", "C:\\Lib\\present.dll,1")
      .str("Gone", "C:\\Lib\\gone.dll")
      .str("NoDll", "C:\\Lib\\gone.txt");
  f.reg.key(std::string(kVendor) + "\\Sub").str("a", "C:\\Lib\\hidden.dll");
  std::unique_ptr<ScanContext> context = f.Context();
  WalkFileReferences(*context, 19, "HKEY_LOCAL_MACHINE", "Software\\Vendor", ".dll");
  WalkFileReferences(*context, 19, "HKLM", "Software\\Vendor", ".dll");
  WalkFileReferences(*context, 19, "HKEY_LOCAL_MACHINE", "Software\\Missing", ".dll");
  EXPECT_EQ(KeyPathsUnder(f.sink.Rows(), ""),
            (std::vector<std::string>{std::string(kVendor) + "\\Gone", std::string(kVendor) + "\\Sub\\a"}));
}

TEST(ScanFilesAndFolders, ValuesOfTheRootItselfFollowTheRootName) {
  ScanFixture f;
  f.reg.key("HKEY_USERS").str("a", "C:\\Old\\a.exe").str("C:\\Odd", "C:\\Old\\b.exe");
  EXPECT_EQ(f.Run(ScanFilesAndFolders, 5),
            (std::vector<ProblemEntry>{Row("HKEY_USERS\\a", "C:\\Old\\a.exe", RepairAction::DeleteValueInPath),
                                       Row("HKEY_USERS\\", "C:\\Odd", RepairAction::DeleteNamedValue)}));
}

}  // namespace
}  // namespace quillet::testing
