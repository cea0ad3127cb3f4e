#include <gtest/gtest.h>

#include "ScanFixture.h"
#include "scan/MruHistoryScans.h"
#include "settings/RegGlobal.h"

namespace quillet::testing {
namespace {

constexpr const char* kProblem = "Missing MRU and History Lists file";
constexpr const char* kOpenSave =
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\OpenSaveMRU";
constexpr const char* kUserAssist =
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\UserAssist\\"
    "{75048700-EF1F-11D0-9888-006097DEACF9}\\Count";

ProblemEntry Row(std::string keyPath, std::string value, RepairAction action) {
  return ProblemEntry{kProblem, std::move(keyPath), std::move(value), action, false};
}

ProblemEntry UserAssistRow(std::string entry) {
  return Row(kUserAssist, std::move(entry), RepairAction::DeleteRot13Value);
}

// A user-assist record as the shell writes it: a session number, then the run count.
std::vector<uint8_t> Record(uint32_t runCount, size_t size = 16) {
  std::vector<uint8_t> bytes(size, 0);
  bytes[0] = 1;
  for (size_t i = 0; i < 4 && 4 + i < size; ++i) bytes[4 + i] = static_cast<uint8_t>(runCount >> (8 * i));
  return bytes;
}

TEST(ScanMruLists, ReportsRecentFilesThatAreGoneFromTheListAndItsExtensionLists) {
  ScanFixture f;
  f.flags.DriveLetters = "c";
  f.fs.remoteDrive('z').file("C:\\Docs\\report.txt").file("C:\\Docs\\star.doc").file("C:\\Docs\\present.txt");
  const std::string list = kOpenSave;
  f.reg.key(list)
      .str("Report", "C:\\Docs\\report")
      .str("Gone", "C:\\Docs\\gone")
      .str("Star", "C:\\Docs\\star")
      .str("Present", "C:\\Docs\\present.txt")
      .str("Network", "Z:\\Docs\\gone")
      .str("MRUList", "dcba")
      .dword("Count", 1)
      .str("C:\\Odd\\Name", "C:\\Docs\\odd");
  f.reg.key(list + "\\*").str("a", "C:\\Docs\\gone-any.doc");
  f.reg.key(list + "\\txt").str("a", "C:\\Docs\\gone.txt").str("b", "C:\\Docs\\report.txt").str("MRUList", "ab");

  EXPECT_EQ(f.Run(ScanMruLists, 20), (std::vector<ProblemEntry>{
                                         Row(list + "\\Gone", "C:\\Docs\\gone", RepairAction::DeleteValueInPath),
                                         Row(list + "\\Star", "C:\\Docs\\star", RepairAction::DeleteValueInPath),
                                         Row(list, "C:\\Odd\\Name", RepairAction::DeleteNamedValue),
                                         Row(list + "\\*\\a", "C:\\Docs\\gone-any.doc", RepairAction::DeleteValueInPath),
                                         Row(list + "\\txt\\a", "C:\\Docs\\gone.txt", RepairAction::DeleteValueInPath),
                                     }));
}

TEST(ScanMruLists, JudgesUserAssistEntriesByTheirPathAndTheirRunCount) {
  ScanFixture f;
  f.fs.file("C:\\Tools\\present.exe").file("C:\\Tools\\used.exe");
  const std::string oldTool = "UEME_RUNPATH:C:\\Tools\\old.exe";
  const std::string unused = "UEME_RUNPATH:C:\\Tools\\present.exe";
  const std::string goneShortcut = "UEME_RUNPATH:C:\\Links\\gone.lnk";
  const std::string unusedShortcut = "UEME_RUNPIDL:C:\\Links\\unused.lnk";
  const std::string unusedSession = "UEME_CTLCUACount";
  f.reg.key(kUserAssist)
      .binary(Rot13(oldTool), Record(5))
      .binary(Rot13(unused), Record(0))
      .binary(Rot13("UEME_RUNPATH:C:\\Tools\\used.exe"), Record(3))
      .binary(Rot13(goneShortcut), Record(2))
      .binary(Rot13(unusedShortcut), Record(0))
      .binary(Rot13("UEME_CTLSESSION"), Record(7))
      .binary(Rot13(unusedSession), Record(0));

  EXPECT_EQ(f.Run(ScanMruLists, 20), (std::vector<ProblemEntry>{
                                         UserAssistRow(oldTool),
                                         UserAssistRow(unused),
                                         UserAssistRow(unusedShortcut),
                                         UserAssistRow(unusedSession),
                                     }));
}

TEST(ScanMruLists, UserAssistRecordsTooShortOrTooLargeCarryNoRunCount) {
  ScanFixture f;
  const std::string shortGone = "UEME_RUNPATH:C:\\Tools\\short-gone.exe";
  f.reg.key(kUserAssist)
      .binary(Rot13("UEME_CTLSHORT"), Record(0, 4))
      .binary(Rot13("UEME_CTLEMPTY"), {})
      .binary(Rot13("UEME_CTLEIGHT"), Record(0, 8))
      .binary(Rot13(shortGone), Record(0, 7))
      .binary(Rot13("UEME_CTLHUGE"), Record(0, 0x8000))
      .binary(Rot13("UEME_CTLLIMIT"), Record(0, 0x7FFF));

  EXPECT_EQ(f.Run(ScanMruLists, 20), (std::vector<ProblemEntry>{
                                         UserAssistRow("UEME_CTLEIGHT"),
                                         UserAssistRow(shortGone),
                                         UserAssistRow("UEME_CTLLIMIT"),
                                     }));
}

}  // namespace
}  // namespace quillet::testing
