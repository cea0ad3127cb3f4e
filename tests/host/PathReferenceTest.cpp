#include <gtest/gtest.h>

#include "ScanFixture.h"
#include "scan/PathReference.h"

namespace quillet::testing {
namespace {

struct ReferenceCase {
  const char* text;
  const char* keyName;
  bool acceptFolders;
  bool broken;
};

std::ostream& operator<<(std::ostream& out, const ReferenceCase& c) {
  return out << "'" << c.text << "' key '" << c.keyName << "' folders " << c.acceptFolders;
}

class IsBrokenReferenceTest : public ::testing::TestWithParam<ReferenceCase> {
 protected:
  IsBrokenReferenceTest() {
    fixture.fs.fixedDrive('d')
        .file("C:\\Program Files\\App\\app.exe")
        .folder("C:\\Program Files\\App\\Sub")
        .file("C:\\Windows\\notepad.exe")
        .file("C:\\Dir\\app.exe")
        .file("C:\\Office\\WINWORD.EXE")
        .file("C:\\tool.com")
        .env("SystemRoot", "C:\\Windows")
        .env("AppFile", "C:\\Dir\\app.exe");
    fixture.flags.DriveLetters = "c";  // D: is fixed but not tested
  }
  ScanFixture fixture;
};

TEST_P(IsBrokenReferenceTest, JudgesTheReference) {
  const ReferenceCase& c = GetParam();
  auto context = fixture.Context();
  const FolderMatch folders = c.acceptFolders ? FolderMatch::FoldersToo : FolderMatch::FilesOnly;
  EXPECT_EQ(IsBrokenReference(*context, c.text, c.keyName, folders), c.broken);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IsBrokenReferenceTest,
    ::testing::Values(
        // Command lines: some prefix cut at a separator names an existing program.
        ReferenceCase{"C:\\Program Files\\App\\app.exe /min", "", false, false},
        ReferenceCase{"C:\\Program Files\\App\\gone.exe /min", "", false, true},
        ReferenceCase{"C:\\Program Files\\App\\app /min", "", false, false},
        ReferenceCase{"c:\\program files\\app\\APP.EXE", "", false, false},
        ReferenceCase{"C:\\tool -x", "", false, false},
        // Quotes keep only the quoted part; unquoted, a second drive path passes.
        ReferenceCase{"\"C:\\Program Files\\App\\gone.exe\" C:\\Data\\file.txt", "", false, true},
        ReferenceCase{"C:\\Program Files\\App\\gone.exe C:\\Data\\file.txt", "", false, false},
        ReferenceCase{"\"C:\\Program Files\\App\\app.exe\" /x", "", false, false},
        ReferenceCase{"\"", "", false, false},
        // Variables expand only to existing folders.
        ReferenceCase{"%SystemRoot%\\notepad.exe", "", false, false},
        ReferenceCase{"%SystemRoot%\\gone.exe", "", false, true},
        ReferenceCase{"%Unset%\\gone.exe", "", false, false},
        ReferenceCase{"%AppFile%\\gone.exe", "", false, false},
        ReferenceCase{"%", "", false, false},
        // A trailing ";" is forgiven.
        ReferenceCase{"C:\\Dir\\app.exe;", "", false, false},
        ReferenceCase{"C:\\Dir\\gone.exe;", "", false, true},
        // Anything that is not a local path on a tested drive passes.
        ReferenceCase{"D:\\gone.exe", "", false, false},
        ReferenceCase{"\\\\server\\share\\gone.exe", "", false, false},
        ReferenceCase{"gone.exe", "", false, false},
        ReferenceCase{"rundll32.exe shell32.dll,Entry", "", false, false},
        ReferenceCase{"", "", false, false},
        ReferenceCase{"C:\\Gone\\a?.exe", "", false, false},
        ReferenceCase{"C:\\HP\\gone.exe", "", false, false},
        // Folders: a path ending in "\" and, with acceptFolders, a folder at the end.
        ReferenceCase{"C:\\Program Files\\App\\", "", false, false},
        ReferenceCase{"C:\\Program Files\\Gone\\", "", false, true},
        ReferenceCase{"C:\\Program Files\\App\\Sub", "", true, false},
        ReferenceCase{"C:\\Program Files\\App\\Sub", "", false, true},
        // Wildcards match as a pattern in the directory search.
        ReferenceCase{"C:\\Dir\\ap*.exe", "", false, false},
        // The folder part does not exist: the walk from the start finds nothing.
        ReferenceCase{"C:\\Gone Dir\\x.exe -y", "", false, true},
        // With a key name the path is cut right after it.
        ReferenceCase{"C:\\Office\\winword.exe /n", "winword.exe", true, false},
        ReferenceCase{"C:\\Office\\Gone\\winword.exe", "winword.exe", true, true},
        ReferenceCase{"C:\\Office\\excel.exe", "winword.exe", true, false},
        ReferenceCase{"D:\\Office\\winword.exe", "winword.exe", true, false}),
    [](const ::testing::TestParamInfo<ReferenceCase>& info) { return "Case" + std::to_string(info.index); });

TEST(IsBrokenReference, FloppyWithoutDiskIsBrokenWithoutAnyProbe) {
  ScanFixture fixture;
  OptionsSetting.IncludeRemoveMedia = true;
  fixture.flags.DriveLetters = "abc";
  fixture.flags.DriveBReady = true;
  fixture.fs.removableDrive('a', false).removableDrive('b', true).file("B:\\setup.exe");
  auto context = fixture.Context();
  const uint64_t probesBefore = fixture.fs.ProbeCount();
  EXPECT_TRUE(IsBrokenReference(*context, "a:\\setup.exe", "", FolderMatch::FilesOnly));
  EXPECT_EQ(fixture.fs.ProbeCount(), probesBefore);
  EXPECT_FALSE(IsBrokenReference(*context, "B:\\setup.exe", "", FolderMatch::FilesOnly));

  OptionsSetting.IncludeRemoveMedia = false;  // read live, not when the context was made
  fixture.flags.DriveLetters = "c";
  EXPECT_FALSE(IsBrokenReference(*context, "A:\\setup.exe", "", FolderMatch::FilesOnly));
}

TEST(IsBrokenReference, Wow64PassesProgramFilesAndSystem32) {
  ScanFixture fixture;
  auto context = fixture.Context();
  EXPECT_TRUE(IsBrokenReference(*context, "C:\\Program Files\\Gone\\x.exe", "", FolderMatch::FilesOnly));
  fixture.flags.IsWow64 = true;
  EXPECT_FALSE(IsBrokenReference(*context, "C:\\Program Files\\Gone\\x.exe", "", FolderMatch::FilesOnly));
  EXPECT_FALSE(IsBrokenReference(*context, "C:\\Windows\\System32\\gone.dll", "", FolderMatch::FilesOnly));
  EXPECT_TRUE(IsBrokenReference(*context, "C:\\Gone\\x.exe", "", FolderMatch::FilesOnly));
}

TEST(IsBrokenReference, ProbesOnlyTestedDrives) {
  ScanFixture fixture;
  fixture.fs.fixedDrive('d');
  auto context = fixture.Context();
  const uint64_t before = fixture.fs.ProbeCount();
  EXPECT_FALSE(IsBrokenReference(*context, "D:\\Some Dir\\gone.exe /x", "", FolderMatch::FilesOnly));
  EXPECT_EQ(fixture.fs.ProbeCount(), before);
}

TEST(CountKeyEntries, MeasuresWhatAKeyHolds) {
  ScanFixture fixture;
  fixture.reg.key("HKEY_LOCAL_MACHINE\\T\\DefaultOnly").str("", "");
  fixture.reg.key("HKEY_LOCAL_MACHINE\\T\\TwoSubkeys\\A");
  fixture.reg.key("HKEY_LOCAL_MACHINE\\T\\TwoSubkeys\\B");
  fixture.reg.key("HKEY_LOCAL_MACHINE\\T\\Chain\\Empty");
  fixture.reg.key("HKEY_LOCAL_MACHINE\\T\\DeepChain\\One\\Two").dword("a", 1).dword("b", 2).dword("c", 3);
  fixture.reg.key("HKEY_LOCAL_MACHINE\\T\\Locked").denyFullAccess().str("Secret", "x");
  fixture.reg.key("HKEY_LOCAL_MACHINE\\T\\LockedChain\\One\\Locked").denyOpen().str("Secret", "x");
  auto context = fixture.Context();
  EXPECT_EQ(CountKeyEntries(*context, RootKey::LocalMachine, "T\\DefaultOnly"), 1);
  EXPECT_EQ(CountKeyEntries(*context, RootKey::LocalMachine, "T\\TwoSubkeys"), 2);
  EXPECT_EQ(CountKeyEntries(*context, RootKey::LocalMachine, "T\\Chain"), 0);
  EXPECT_EQ(CountKeyEntries(*context, RootKey::LocalMachine, "T\\DeepChain"), 3);
  // What does not open was never seen: unknown, not empty.
  EXPECT_EQ(CountKeyEntries(*context, RootKey::LocalMachine, "T\\Missing"), std::nullopt);
  EXPECT_EQ(CountKeyEntries(*context, RootKey::LocalMachine, "T\\Locked"), std::nullopt);
  EXPECT_EQ(CountKeyEntries(*context, RootKey::LocalMachine, "T\\LockedChain"), std::nullopt);
}

TEST(ExpandFolderVariable, ExpandsOnlyToExistingFolders) {
  ScanFixture fixture;
  fixture.fs.folder("C:\\Windows").file("C:\\Dir\\app.exe").env("SystemRoot", " C:\\Windows\t").env("AppFile", "C:\\Dir\\app.exe");
  auto context = fixture.Context();
  EXPECT_EQ(ExpandFolderVariable(*context, "%SystemRoot%"), "C:\\Windows");
  EXPECT_EQ(ExpandFolderVariable(*context, "%AppFile%"), "%AppFile%");
  EXPECT_EQ(ExpandFolderVariable(*context, "%Nope%"), "%Nope%");
}

}  // namespace
}  // namespace quillet::testing
