#include <gtest/gtest.h>

#include "ScanFixture.h"
#include "scan/FileExtensionScans.h"

namespace quillet::testing {
namespace {

constexpr const char* kClasses = "HKEY_LOCAL_MACHINE\\Software\\Classes";
constexpr const char* kFileExts = "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts";
constexpr const char* kExtProblem = "Unused File Extension";
constexpr const char* kControlProblem = "Custom Controls Issue";

ProblemEntry Row(std::string problem, std::string keyPath, std::string value, RepairAction action) {
  return ProblemEntry{std::move(problem), std::move(keyPath), std::move(value), action, false};
}

void SeedClasses(ScanFixture& f) {
  const std::string base = kClasses;
  f.reg.key(base + "\\.bare");
  f.reg.key(base + "\\.binary").binary("", {});
  f.reg.key(base + "\\.emptydefault").str("", "");
  f.reg.key(base + "\\.filled").str("", "txtfile");
  f.reg.key(base + "\\.multi").multi("", {"a"});
  f.reg.key(base + "\\.named").str("Content Type", "");
  f.reg.key(base + "\\.number").dword("", 0);
  f.reg.key(base + "\\.twovalues").str("", "").str("PerceivedType", "");
  f.reg.key(base + "\\.withsub\\OpenWithList");
  f.reg.key(base + "\\NoDot");
}

TEST(ScanFileExtensions, MachineClassesWithNothingButAnEmptyDefaultAreUnused) {
  ScanFixture f;
  SeedClasses(f);
  EXPECT_EQ(f.Run(ScanFileExtensions, 12),
            (std::vector<ProblemEntry>{
                Row(kExtProblem, kClasses, ".bare", RepairAction::DeleteNamedSubkey),
                Row(kExtProblem, kClasses, ".emptydefault", RepairAction::DeleteNamedSubkey),
                Row(kExtProblem, kClasses, "NoDot", RepairAction::DeleteNamedSubkey),
            }));
}

TEST(ScanFileExtensions, OnWow64Windows7Or8OnlyClassKeysWithoutAnyValueAreUnused) {
  ScanFixture f;
  f.flags.IsWin7Or8 = true;
  f.flags.IsWow64 = true;
  SeedClasses(f);
  EXPECT_EQ(f.Run(ScanFileExtensions, 12),
            (std::vector<ProblemEntry>{
                Row(kExtProblem, kClasses, ".bare", RepairAction::DeleteNamedSubkey),
                Row(kExtProblem, kClasses, "NoDot", RepairAction::DeleteNamedSubkey),
            }));
}

struct FileExtsCase {
  const char* name;
  bool win7Or8;
  bool wow64;
  std::vector<std::string> reported;
};

class UserFileExts : public ::testing::TestWithParam<FileExtsCase> {};

TEST_P(UserFileExts, ReportsTheEmptyChoicesOfTheSystem) {
  const FileExtsCase& param = GetParam();
  ScanFixture f;
  f.flags.IsWin7Or8 = param.win7Or8;
  f.flags.IsWow64 = param.wow64;
  const std::string base = kFileExts;
  f.reg.key(base + "\\.");
  f.reg.key(base + "\\.chain\\UserChoice");
  // A choice that does not open may hold anything: never reported.
  f.reg.key(base + "\\.locked\\UserChoice").denyFullAccess().str("ProgId", "txtfile");
  f.reg.key(base + "\\.empty");
  f.reg.key(base + "\\.used\\OpenWithList").str("a", "notepad.exe");
  std::vector<ProblemEntry> expected;
  for (const std::string& name : param.reported) {
    expected.push_back(Row(kExtProblem, kFileExts, name, RepairAction::DeleteNamedSubkey));
  }
  EXPECT_EQ(f.Run(ScanFileExtensions, 12), expected);
}

INSTANTIATE_TEST_SUITE_P(Systems, UserFileExts,
                         ::testing::Values(FileExtsCase{"Other", false, false, {".", ".chain", ".empty"}},
                                           FileExtsCase{"Win7Or8", true, false, {".chain", ".empty"}},
                                           FileExtsCase{"Win7Or8Wow64", true, true, {".", ".empty"}}),
                         [](const auto& info) { return std::string(info.param.name); });

void SeedControls(ScanFixture& f) {
  f.fs.file("C:\\Windows\\System32\\present.dll");
  f.reg.key("HKEY_CLASSES_ROOT\\CLSID\\{A}").str("", "Class A");
  f.reg.key("HKEY_CLASSES_ROOT\\CLSID\\{A}\\InprocServer32").str("", "C:\\Gone\\a.dll").str("ThreadingModel", "Both");
  f.reg.key("HKEY_CLASSES_ROOT\\CLSID\\{A}\\InprocServer32\\Deeper").expand("", "C:\\Gone\\deeper.dll");
  f.reg.key("HKEY_CLASSES_ROOT\\CLSID\\{B}\\LocalServer32").str("", "C:\\Windows\\System32\\present.dll");
  f.reg.key("HKEY_CLASSES_ROOT\\CLSID\\{C}\\InprocServer32").str("", "Z:\\Network\\c.dll");
}

TEST(ScanCustomControls, ReportsEachKeyWhoseDefaultNamesAMissingServerAtAnyDepth) {
  ScanFixture f;
  SeedControls(f);
  EXPECT_EQ(f.Run(ScanCustomControls, 13),
            (std::vector<ProblemEntry>{
                Row(kControlProblem, "HKEY_CLASSES_ROOT\\CLSID\\{A}\\InprocServer32", "C:\\Gone\\a.dll",
                    RepairAction::DeleteKey),
                Row(kControlProblem, "HKEY_CLASSES_ROOT\\CLSID\\{A}\\InprocServer32\\Deeper", "C:\\Gone\\deeper.dll",
                    RepairAction::DeleteKey),
            }));
  EXPECT_EQ(f.sink.Only("key:").front(), "key:CLSID");
}

TEST(ScanCustomControls, LeavesTheClassTreeToTheMachineFilesAndFoldersScan) {
  ScanFixture f;
  SeedControls(f);
  f.reg.key("HKEY_CLASSES_ROOT\\Interface\\{I}").str("", "IGone");
  f.reg.key("HKEY_CLASSES_ROOT\\Interface\\{I}\\TypeLib").str("", "{T}");
  ScanContext context(f.reg, f.fs, f.shell, f.flags, f.sink, f.stop, {3, 13});
  context.BeginCategory(*FindScanCategory(13));
  ScanCustomControls(context);
  EXPECT_EQ(f.sink.Rows(), (std::vector<ProblemEntry>{Row(kControlProblem, "HKEY_CLASSES_ROOT\\Interface\\{I}",
                                                           "IGone - {T}", RepairAction::DeleteKey)}));
  EXPECT_EQ(f.sink.Only("key:"), std::vector<std::string>{"key:Interface\\{I}"});
}

TEST(ScanCustomControls, ReportsInterfacesWhoseTypeLibraryIsNotRegistered) {
  ScanFixture f;
  f.reg.key("HKEY_CLASSES_ROOT\\TypeLib\\{LIB-ONE}");
  const std::string base = "HKEY_CLASSES_ROOT\\Interface";
  f.reg.key(base + "\\{1}").str("", "IRegistered");
  f.reg.key(base + "\\{1}\\TypeLib").str("", "{lib-one}");
  f.reg.key(base + "\\{2}").str("", "IMissing");
  f.reg.key(base + "\\{2}\\TypeLib").str("", "{LIB-TWO}");
  f.reg.key(base + "\\{3}").str("", "IEmpty");
  f.reg.key(base + "\\{3}\\TypeLib").str("", "");
  f.reg.key(base + "\\{4}").str("", "INoTypeLib");
  f.reg.key(base + "\\{5}").dword("", 1);
  f.reg.key(base + "\\{5}\\TypeLib").str("", "{LIB-TWO}");
  f.reg.key(base + "\\{6}").str("", "IBinaryLib");
  f.reg.key(base + "\\{6}\\TypeLib").binary("", {1});
  f.reg.key(base + "\\{7}").str("", "IPart");
  f.reg.key(base + "\\{7}\\TypeLib").str("", "LIB");
  EXPECT_EQ(f.Run(InterfaceScan, 13),
            (std::vector<ProblemEntry>{
                Row(kControlProblem, base + "\\{2}", "IMissing - {LIB-TWO}", RepairAction::DeleteKey),
                Row(kControlProblem, base + "\\{3}", "IEmpty - ", RepairAction::DeleteKey),
            }));
}

TEST(ScanCustomControls, WithoutTypeLibraryListEveryNamedTypeLibraryIsReported) {
  ScanFixture f;
  f.reg.key("HKEY_CLASSES_ROOT\\Interface\\{1}").str("", "IOne");
  f.reg.key("HKEY_CLASSES_ROOT\\Interface\\{1}\\TypeLib").str("", "{LIB-ONE}");
  std::vector<ProblemEntry> rows = f.Run(InterfaceScan, 13);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].value, "IOne - {LIB-ONE}");
}

TEST(FileExtensionScans, AddNothingWhenTheirKeysAreMissing) {
  ScanFixture f;
  EXPECT_TRUE(f.Run(ScanFileExtensions, 12).empty());
  EXPECT_TRUE(f.Run(ScanCustomControls, 13).empty());
}

}  // namespace
}  // namespace quillet::testing
