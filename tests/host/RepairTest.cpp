// The repair command on the main window: backup before every delete, the rows it takes off the
// list and the ones it remembers, the backup folder question, the restore point and the notice.
#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>

#include "MainWindowFixture.h"
#include "main/Repair.h"
#include "main/ShowHint.h"
#include "main/SystemPiont.h"
#include "platform/RegistryDump.h"

namespace quillet::testing {
namespace {

using ui::ModalResult;

constexpr const char* kFolder = "C:\\Backups";
// The fixture's clock shows 7 March 2026, 09:05:03.
constexpr const char* kBackupFile = "C:\\Backups\\Backup20260307090503.reg";

std::string Lines(std::initializer_list<const char*> lines) {
  std::string text;
  for (const char* line : lines) text += std::string(line) + "\r\n";
  return text;
}

struct Row {
  std::string key;
  std::string value;
  RepairAction action = RepairAction::DeleteKey;
  bool ticked = true;
};

class RepairTest : public ::testing::Test {
 protected:
  RepairTest() {
    OptionsSetting.OutputDirectory = kFolder;
    fixture.fs.folder(kFolder);
    fixture.Open();
  }

  void SetRows(const std::vector<Row>& rows) {
    TProblemList& list = *window().lvRegistryData;
    list.Clear();
    for (const Row& row : rows) {
      list.AddItem({"Problem", row.key, row.value, row.action, row.ticked});
    }
  }
  // The notice is answered with Close; its sentence is kept.
  void ExpectNotice() {
    fixture.ui.WhileModal("frmShowHint", [this](ui::TForm& form) {
      auto& notice = static_cast<TfrmShowHint&>(form);
      notices.push_back(notice.Label1->Caption());
      notice.bCancel->Click();
    });
  }
  void Repair() { window().bRepairRegistryClick(); }
  // "key|value|ticked" for every row left.
  std::vector<std::string> Rows() {
    std::vector<std::string> rows;
    const TProblemList& list = *window().lvRegistryData;
    for (size_t i = 0; i < list.Count(); ++i) {
      rows.push_back(list.Text(i, 1) + "|" + list.Text(i, 2) + (list.Item(i).checked ? "|ticked" : "|unticked"));
    }
    return rows;
  }
  std::vector<std::string> Unrepaired() {
    std::vector<std::string> pairs;
    for (size_t i = 0; i < window().UnrepairedKeys.size(); ++i) {
      pairs.push_back(window().UnrepairedKeys[i] + "|" + window().UnrepairedValues.at(i));
    }
    return pairs;
  }
  bool KeyExists(std::string_view path) {
    auto cursor = fixture.reg.NewCursor();
    cursor->SetRoot(*ParseRootName(path.substr(0, path.find('\\'))));
    return cursor->KeyExists(path.substr(path.find('\\')));
  }
  std::string Backup() { return fixture.fs.ReadFile(kBackupFile).value_or("<no backup file>"); }
  size_t RunsOf(const std::string& form) {
    size_t count = 0;
    for (const auto& run : fixture.ui.ModalRuns()) count += run.form == form;
    return count;
  }
  TfrmQuillet& window() { return fixture.Window(); }

  MainWindowFixture fixture;
  std::vector<std::string> notices;
};

using Texts = std::vector<std::string>;

TEST_F(RepairTest, ThreeTickedRowsWithOneFailingAreAllTakenOffAndTheFailureIsRemembered) {
  fixture.reg.key("HKEY_CURRENT_USER\\Software\\Stale").str("Path", "C:\\x");
  fixture.reg.key("HKEY_CURRENT_USER\\Software\\Keep").str("Gone", "y").str("Stay", "z");
  fixture.reg.key("HKEY_CURRENT_USER\\Software\\Unticked").str("Path", "C:\\u");
  SetRows({{"HKEY_CURRENT_USER\\Software\\Stale", "C:\\x"},
           {"HKEY_CURRENT_USER\\Software\\Vanished", ""},
           {"HKEY_CURRENT_USER\\Software\\Unticked", "", RepairAction::DeleteKey, false},
           {"HKEY_CURRENT_USER\\Software\\Keep", "Gone", RepairAction::DeleteNamedValue}});
  ExpectNotice();
  Repair();

  EXPECT_EQ(notices, (Texts{"There are total 3 problems to be repaired."}));
  EXPECT_EQ(Rows(), (Texts{"HKEY_CURRENT_USER\\Software\\Unticked||unticked"}));
  EXPECT_EQ(Unrepaired(), (Texts{"HKEY_CURRENT_USER\\Software\\Vanished|"}));
  EXPECT_FALSE(KeyExists("HKEY_CURRENT_USER\\Software\\Stale"));
  EXPECT_TRUE(KeyExists("HKEY_CURRENT_USER\\Software\\Unticked"));
  EXPECT_EQ(DumpRegistryTree(fixture.reg, RootKey::CurrentUser, "Software\\Keep"), "[.]\n\"Stay\" = REG_SZ \"z\"\n");
  // Rows are visited from the last to the first, so the value comes first in the file.
  EXPECT_EQ(Backup(), Lines({"REGEDIT4", "", "[HKEY_CURRENT_USER\\Software\\Keep]", "\"Gone\"=\"y\"", "",
                             "[HKEY_CURRENT_USER\\Software\\Stale]", "\"Path\"=\"C:\\\\x\""}));
  EXPECT_EQ(window().CurrentBackupFile, kBackupFile);
  EXPECT_EQ(fixture.FoundText(), " 1 problems found");
  EXPECT_EQ(fixture.TickedText(), " 0 problems selected for repairing");
  EXPECT_TRUE(fixture.ui.Beeps().empty());
}

TEST_F(RepairTest, ABackupFileThatCannotBeWrittenStopsAtTheFirstEntryThatNeedsABackup) {
  fixture.reg.key("HKEY_CURRENT_USER\\Software\\First").str("A", "1");
  fixture.reg.key("HKEY_CURRENT_USER\\Software\\Second").str("B", "2");
  fixture.fs.file("C:\\Old\\gone.txt", "x");
  fixture.fs.failWrites();
  SetRows({{"HKEY_CURRENT_USER\\Software\\First", ""},
           {"HKEY_CURRENT_USER\\Software\\Second", ""},
           {"C:\\Old\\gone.txt", "", RepairAction::DeleteFile},
           {"HKEY_CURRENT_USER\\Software\\Vanished", ""}});
  Repair();

  EXPECT_EQ(Rows(), (Texts{"HKEY_CURRENT_USER\\Software\\First||ticked", "HKEY_CURRENT_USER\\Software\\Second||ticked",
                           "HKEY_CURRENT_USER\\Software\\Vanished||ticked"}))
      << "only the file row, processed before the failure, is off the list";
  EXPECT_TRUE(KeyExists("HKEY_CURRENT_USER\\Software\\First"));
  EXPECT_TRUE(KeyExists("HKEY_CURRENT_USER\\Software\\Second")) << "its backup failed, so it was not deleted";
  EXPECT_FALSE(fixture.fs.FileExists("C:\\Old\\gone.txt"));
  EXPECT_TRUE(Unrepaired().empty());
  EXPECT_EQ(RunsOf("frmShowHint"), 0u);
  EXPECT_FALSE(fixture.fs.FileExists(kBackupFile));
}

TEST_F(RepairTest, NoBackupFileWhenNothingThatExistedWasDeleted) {
  fixture.reg.key("HKEY_CURRENT_USER\\Software\\Here").str("Other", "1");
  fixture.fs.file("C:\\Old\\gone.txt", "x");
  OptionsSetting.ShowHint = false;
  SetRows({{"C:\\Old\\gone.txt", "", RepairAction::DeleteFile},
           {"HKEY_CURRENT_USER\\Software\\Vanished", ""},
           {"HKEY_CURRENT_USER\\Software\\Here", "Missing", RepairAction::DeleteNamedValue},
           {"HKEY_NOWHERE\\Software\\X", ""},
           {"NoBackslash", ""}});
  Repair();

  EXPECT_FALSE(fixture.fs.FileExists(kBackupFile));
  EXPECT_EQ(fixture.shell.DeletedFiles(), (Texts{"C:\\Old\\gone.txt"}));
  EXPECT_TRUE(Rows().empty());
  EXPECT_EQ(Unrepaired(), (Texts{"NoBackslash|", "HKEY_NOWHERE\\Software\\X|", "HKEY_CURRENT_USER\\Software\\Here|Missing",
                                 "HKEY_CURRENT_USER\\Software\\Vanished|"}));
}

TEST_F(RepairTest, EveryRepairActionDeletesItsOwnTarget) {
  fixture.reg.key("HKEY_CURRENT_USER\\Software\\Kinds")
      .str("", "default")
      .str("InPath", "1")
      .str("Rot", "2")
      .str("Kept", "3")
      .subkey("Child")
      .str("X", "4");
  SetRows({{"HKEY_CURRENT_USER\\Software\\Kinds\\InPath", "", RepairAction::DeleteValueInPath},
           {"HKEY_CURRENT_USER\\Software\\Kinds", "Child", RepairAction::DeleteNamedSubkey},
           {"HKEY_CURRENT_USER\\Software\\Kinds", "", RepairAction::DeleteDefaultValue},
           {"HKEY_CURRENT_USER\\Software\\Kinds", "Ebg", RepairAction::DeleteRot13Value}});
  OptionsSetting.ShowHint = false;
  Repair();

  EXPECT_EQ(DumpRegistryTree(fixture.reg, RootKey::CurrentUser, "Software\\Kinds"), "[.]\n\"Kept\" = REG_SZ \"3\"\n");
  EXPECT_TRUE(Unrepaired().empty());
  EXPECT_EQ(Backup(), Lines({"REGEDIT4", "", "[HKEY_CURRENT_USER\\Software\\Kinds]", "\"Rot\"=\"2\"", "",
                             "[HKEY_CURRENT_USER\\Software\\Kinds]", "@=\"default\"", "",
                             "[HKEY_CURRENT_USER\\Software\\Kinds\\Child]", "\"X\"=\"4\"", "",
                             "[HKEY_CURRENT_USER\\Software\\Kinds]", "\"InPath\"=\"1\""}));
}

TEST_F(RepairTest, ASecondRepairInTheSameSecondAppendsWithoutASecondHeader) {
  fixture.reg.key("HKEY_CURRENT_USER\\Software\\One").str("A", "1");
  fixture.reg.key("HKEY_CURRENT_USER\\Software\\Two").str("B", "2");
  OptionsSetting.ShowHint = false;
  SetRows({{"HKEY_CURRENT_USER\\Software\\One", ""}});
  Repair();
  SetRows({{"HKEY_CURRENT_USER\\Software\\Two", ""}});
  Repair();
  EXPECT_EQ(Backup(), Lines({"REGEDIT4", "", "[HKEY_CURRENT_USER\\Software\\One]", "\"A\"=\"1\"", "",
                             "[HKEY_CURRENT_USER\\Software\\Two]", "\"B\"=\"2\""}));
}

TEST_F(RepairTest, AnEntryTheBackupCannotHoldExactlyStaysInTheRegistry) {
  // A value name outside the ANSI code page has no exact REGEDIT4 form.
  fixture.reg.key("HKEY_CURRENT_USER\\Software\\Wide").str("\xE5\x90\x8D", "x");
  fixture.reg.key("HKEY_CURRENT_USER\\Software\\Plain").str("P", "1");
  SetRows({{"HKEY_CURRENT_USER\\Software\\Plain", ""}, {"HKEY_CURRENT_USER\\Software\\Wide", ""}});
  ExpectNotice();
  Repair();

  EXPECT_TRUE(KeyExists("HKEY_CURRENT_USER\\Software\\Wide"));
  EXPECT_FALSE(KeyExists("HKEY_CURRENT_USER\\Software\\Plain")) << "the repair went on after the refused entry";
  EXPECT_EQ(Unrepaired(), (Texts{"HKEY_CURRENT_USER\\Software\\Wide|"}));
  EXPECT_EQ(notices, (Texts{"There are total 2 problems to be repaired."}));
  EXPECT_EQ(Backup(), Lines({"REGEDIT4", "", "[HKEY_CURRENT_USER\\Software\\Plain]", "\"P\"=\"1\""}));
}

// Nothing leaves the registry unless the backup holds an exact copy of it: a subkey that only
// reads and deletes is backed up in full, one that does not open keeps the whole tree, and a
// name with a NUL (which the system would take as the name before it) deletes nothing at all.
TEST_F(RepairTest, OnlyWhatTheBackupHoldsInFullLeavesTheRegistry) {
  fixture.reg.key("HKEY_CURRENT_USER\\Software\\Sealed").str("A", "1").subkey("Inner").denyOpen().str("Secret", "x");
  const std::string nul("a\0b", 3);
  fixture.reg.key("HKEY_CURRENT_USER\\Software\\Nul").str("a", "unrelated").str(nul, "odd");
  fixture.reg.key("HKEY_CURRENT_USER\\Software\\NulKey").subkey("x").str("v", "sibling");
  fixture.reg.key("HKEY_CURRENT_USER\\Software\\NulKey").subkey(std::string("x\0y", 3)).str("v", "odd");
  OptionsSetting.ShowHint = false;
  SetRows({{"HKEY_CURRENT_USER\\Software\\Stale", ""},
           {"HKEY_CURRENT_USER\\Software\\Sealed", ""},
           {"HKEY_CURRENT_USER\\Software\\Nul", nul, RepairAction::DeleteNamedValue},
           {"HKEY_CURRENT_USER\\Software\\Nul\\" + nul, "", RepairAction::DeleteValueInPath},
           {"HKEY_CURRENT_USER\\Software\\NulKey", std::string("x\0y", 3), RepairAction::DeleteNamedSubkey},
           {"HKEY_CURRENT_USER\\Software\\NulKey", ""}});
  const std::string others = fixture.reg.Dump();
  fixture.reg.key("HKEY_CURRENT_USER\\Software\\Stale").subkey("Locked").readAndDeleteOnly().str("Secret", "precious");
  Repair();

  EXPECT_EQ(fixture.reg.Dump(), others);
  EXPECT_EQ(Backup(), Lines({"REGEDIT4", "", "[HKEY_CURRENT_USER\\Software\\Stale]", "",
                             "[HKEY_CURRENT_USER\\Software\\Stale\\Locked]", "\"Secret\"=\"precious\""}));
  EXPECT_EQ(Unrepaired().size(), 5u);
}

// Whatever row asks for it, a container key of the system stays.
TEST_F(RepairTest, TheSystemsOwnContainerKeysAreNeverDeleted) {
  for (const char* key : {"HKEY_LOCAL_MACHINE\\Software\\Policies", "HKEY_LOCAL_MACHINE\\Software\\Registered Applications",
                          "HKEY_CURRENT_USER\\Software\\Wow6432Node\\Microsoft", "HKEY_USERS\\S-1-5-21-7\\Software\\Classes",
                          "HKEY_CURRENT_USER\\Vendor"}) {
    fixture.reg.key(key);
  }
  OptionsSetting.ShowHint = false;
  SetRows({{"HKEY_LOCAL_MACHINE\\Software\\Policies", ""},
           {"HKEY_LOCAL_MACHINE\\Software", "Registered Applications", RepairAction::DeleteNamedSubkey},
           {"HKEY_CURRENT_USER\\Software\\Wow6432Node\\Microsoft", ""},
           {"HKEY_USERS\\S-1-5-21-7\\Software\\Classes", ""},
           {"HKEY_USERS\\", "S-1-5-21-7", RepairAction::DeleteNamedSubkey},
           {"HKEY_CURRENT_USER\\Vendor", ""},
           {"HKEY_CURRENT_USER\\", "", RepairAction::DeleteKey}});
  const std::string before = fixture.reg.Dump();
  Repair();
  EXPECT_EQ(fixture.reg.Dump(), before);
  EXPECT_EQ(Unrepaired().size(), 7u);
  EXPECT_FALSE(fixture.fs.FileExists(kBackupFile));
}

// A file system that lets a program change the key while its backup is being written.
class ChangingWhileWritten : public MemoryFileSystem {
 public:
  std::function<void()> change;
  bool AppendFile(std::string_view path, std::string_view bytes) override {
    const bool written = MemoryFileSystem::AppendFile(path, bytes);
    if (change) change();
    return written;
  }
};

TEST(DeleteKeyWithBackup, TakesNothingThatAppearedOrChangedAfterTheBackup) {
  memory::MemoryRegistry reg;
  reg.key("HKEY_CURRENT_USER\\Software\\Stale").str("A", "1").subkey("Sub").str("B", "2");
  reg.key("HKEY_CURRENT_USER\\Software\\Stale").subkey("Other").str("C", "3");
  ChangingWhileWritten fs;
  fs.fixedDrive('c').folder("C:\\B");
  fs.change = [&reg] {
    reg.key("HKEY_CURRENT_USER\\Software\\Stale\\Sub").str("Late", "new");
    reg.key("HKEY_CURRENT_USER\\Software\\Stale\\Other").str("C", "changed");
    reg.key("HKEY_CURRENT_USER\\Software\\Stale\\New");
  };
  memory::Windows1252 ansi;
  const BackupTarget backup{{fs, ansi, reg}, "C:\\B\\b.reg"};
  EXPECT_FALSE(DeleteKeyWithBackup(backup, "HKEY_CURRENT_USER", "Software\\Stale"));
  EXPECT_EQ(DumpRegistryTree(reg, RootKey::CurrentUser, "Software\\Stale"),
            "[.]\n\"A\" = REG_SZ \"1\"\n[.\\New]\n[.\\Other]\n\"C\" = REG_SZ \"changed\"\n[.\\Sub]\n\"B\" = REG_SZ \"2\"\n"
            "\"Late\" = REG_SZ \"new\"\n");
}

TEST_F(RepairTest, AKeyThatVanishedBeforeTheRepairIsHiddenFromLaterScansEvenWhenItComesBack) {
  ScriptedScanners::Set(6, [](ScanContext& context) {
    context.AddRow("HKEY_CURRENT_USER\\Software\\Flaky", "", RepairAction::DeleteKey);
  });
  OptionsSetting.ShowHint = false;
  fixture.TickOnly({6});
  window().bScanRegistryClick();
  ASSERT_EQ(Rows(), (Texts{"HKEY_CURRENT_USER\\Software\\Flaky||ticked"}));
  Repair();
  EXPECT_EQ(Unrepaired(), (Texts{"HKEY_CURRENT_USER\\Software\\Flaky|"}));

  fixture.reg.key("HKEY_CURRENT_USER\\Software\\Flaky").str("Back", "1");
  window().bScanRegistryClick();
  EXPECT_TRUE(Rows().empty());
  EXPECT_EQ(fixture.FoundText(), " 0 problems found");
}

TEST_F(RepairTest, NoticeBeepAndTheNoticesOwnSwitch) {
  OptionsSetting.Beep = true;
  fixture.reg.key("HKEY_CURRENT_USER\\Software\\A").str("A", "1");
  std::vector<Row> twelve;
  for (int i = 0; i < 12; ++i) twelve.push_back({"HKEY_CURRENT_USER\\Software\\Gone" + std::to_string(i), ""});
  SetRows(twelve);
  fixture.ui.WhileModal("frmShowHint", [this](ui::TForm& form) {
    auto& notice = static_cast<TfrmShowHint&>(form);
    notices.push_back(notice.Label1->Caption());
    notice.cbNotShowHint->ToggleFromUser();
    EXPECT_FALSE(OptionsSetting.ShowHint) << "ticking the box turns the notice off at once";
    notice.cbNotShowHint->ToggleFromUser();
    EXPECT_TRUE(OptionsSetting.ShowHint);
    notice.cbNotShowHint->ToggleFromUser();
    notice.bCancel->Click();
  });
  Repair();
  EXPECT_EQ(notices, (Texts{"There are total 12 problems to be repaired."})) << "whatever the number deleted";
  EXPECT_EQ(fixture.ui.ModalRuns().back().result, ModalResult::No);
  EXPECT_EQ(fixture.ui.Beeps(), (std::vector<std::pair<unsigned, unsigned>>{{2047, 500}}));

  SetRows({{"HKEY_CURRENT_USER\\Software\\A", ""}});
  Repair();
  EXPECT_EQ(RunsOf("frmShowHint"), 1u) << "the next repair shows no notice";
  EXPECT_FALSE(KeyExists("HKEY_CURRENT_USER\\Software\\A"));
}

class MissingFolderTest : public RepairTest {
 protected:
  MissingFolderTest() {
    OptionsSetting.OutputDirectory = "C:\\New\\Backups";
    OptionsSetting.ShowHint = false;
    fixture.reg.key("HKEY_CURRENT_USER\\Software\\A").str("A", "1");
    SetRows({{"HKEY_CURRENT_USER\\Software\\A", ""}});
  }
};

TEST_F(MissingFolderTest, NoEndsTheCommandWithNothingChanged) {
  fixture.ui.AnswerMessageBox(ModalResult::No);
  Repair();
  ASSERT_EQ(fixture.ui.MessageBoxes().size(), 1u);
  const ui::MessageBoxRequest& question = fixture.ui.MessageBoxes()[0];
  EXPECT_EQ(question.text, "C:\\New\\Backups,The backup directory does not exist.\r\ncreates a new directory?");
  EXPECT_EQ(question.title, "Orvane Quillet");
  EXPECT_EQ(question.buttons, ui::MessageButtons::YesNo);
  EXPECT_EQ(question.icon, ui::MessageIcon::Information);
  EXPECT_FALSE(fixture.fs.FolderExists("C:\\New\\Backups"));
  EXPECT_TRUE(KeyExists("HKEY_CURRENT_USER\\Software\\A"));
  EXPECT_EQ(Rows().size(), 1u);
}

TEST_F(MissingFolderTest, YesCreatesTheFolderWithItsParentsAndRepairs) {
  fixture.ui.AnswerMessageBox(ModalResult::Yes);
  Repair();
  EXPECT_TRUE(fixture.fs.FolderExists("C:\\New\\Backups"));
  EXPECT_TRUE(fixture.fs.FileExists("C:\\New\\Backups\\Backup20260307090503.reg"));
  EXPECT_FALSE(KeyExists("HKEY_CURRENT_USER\\Software\\A"));
}

TEST_F(MissingFolderTest, AFolderThatCannotBeCreatedEndsTheCommandWithoutAMessage) {
  fixture.fs.failWrites();
  fixture.ui.AnswerMessageBox(ModalResult::Yes);
  Repair();
  EXPECT_EQ(fixture.ui.MessageBoxes().size(), 1u);
  EXPECT_TRUE(KeyExists("HKEY_CURRENT_USER\\Software\\A"));
}

TEST_F(MissingFolderTest, AnEmptyListStillAsksThenEnds) {
  SetRows({});
  fixture.ui.AnswerMessageBox(ModalResult::Yes);
  Repair();
  EXPECT_EQ(fixture.ui.MessageBoxes().size(), 1u);
  EXPECT_TRUE(fixture.fs.FolderExists("C:\\New\\Backups"));
  EXPECT_TRUE(fixture.fs.ListFolder("C:\\New\\Backups").empty());
}

TEST(BackupFileName, FolderThenBackupThenTheDateAndTimeInFixedWidth) {
  EXPECT_EQ(MakeBackupFileName("D:\\Keep", {2026, 3, 7, 9, 5, 3}), "D:\\Keep\\Backup20260307090503.reg");
  EXPECT_EQ(MakeBackupFileName("D:\\Keep\\", {2031, 12, 31, 23, 59, 58}), "D:\\Keep\\Backup20311231235958.reg");
}

// The restore point before the repair.
class RestorePointTest : public RepairTest {
 protected:
  RestorePointTest() {
    OptionsSetting.RestorePoint = true;
    OptionsSetting.ShowHint = false;
    fixture.system.osVersion(PlatformId::WindowsNt, 5, 1);  // XP
    fixture.reg.key("HKEY_CURRENT_USER\\Software\\A").str("A", "1");
    SetRows({{"HKEY_CURRENT_USER\\Software\\A", ""}});
  }
  bool Repaired() { return !KeyExists("HKEY_CURRENT_USER\\Software\\A"); }
};

TEST_F(RestorePointTest, ASuccessClosesTheDialogByItselfAndTheRepairGoesOn) {
  Repair();
  EXPECT_EQ(RunsOf("frmSystemPoint"), 1u);
  EXPECT_EQ(fixture.ui.ModalRuns().at(0).result, ModalResult::Ok);
  EXPECT_TRUE(fixture.ui.MessageBoxes().empty());
  EXPECT_EQ(fixture.restore.Descriptions(), (Texts{"Made by Orvane Quillet"}));
  EXPECT_TRUE(Repaired());
}

TEST_F(RestorePointTest, IsOfferedFromXpToWindows8Only) {
  fixture.system.osVersion(PlatformId::WindowsNt, 5, 0);  // 2000
  Repair();
  EXPECT_EQ(RunsOf("frmSystemPoint"), 0u);
  EXPECT_TRUE(Repaired());
}

class RestorePointFailureTest : public RestorePointTest,
                                public ::testing::WithParamInterface<std::pair<RestorePointAnswer, ModalResult>> {};

TEST_P(RestorePointFailureTest, TheUserDecidesWhetherTheRepairGoesOn) {
  const auto [answer, choice] = GetParam();
  fixture.restore.answer(answer);
  fixture.ui.AnswerMessageBox(choice);
  Repair();
  ASSERT_EQ(fixture.ui.MessageBoxes().size(), 1u);
  const ui::MessageBoxRequest& question = fixture.ui.MessageBoxes()[0];
  EXPECT_EQ(question.text, "Restore Point creation Failed! Contiue to repair?");
  EXPECT_EQ(question.title, "Orvane Quillet");
  EXPECT_EQ(question.buttons, ui::MessageButtons::YesNo);
  EXPECT_EQ(question.defaultButton, 2) << "No is the default";
  EXPECT_EQ(Repaired(), choice == ModalResult::Yes);
  EXPECT_EQ(fixture.fs.FileExists(kBackupFile), choice == ModalResult::Yes);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, RestorePointFailureTest,
    ::testing::Values(std::pair{RestorePointAnswer::Failed, ModalResult::Yes},
                      std::pair{RestorePointAnswer::Failed, ModalResult::No},
                      // A system without the restore client is answered at once, as a failure.
                      std::pair{RestorePointAnswer::Unavailable, ModalResult::Yes},
                      std::pair{RestorePointAnswer::Unavailable, ModalResult::No}));

TEST_F(RestorePointTest, ClosingTheDialogBeforeTheAnswerCancelsTheRepair) {
  fixture.restore.hold();
  int barBefore = -1;
  int barAfter = -1;
  fixture.ui.WhileModal(
      "frmSystemPoint", [this](ui::TForm&) { return fixture.restore.Started() == 1; },
      [&](ui::TForm& form) {
        auto& dialog = static_cast<TfrmSystemPoint&>(form);
        barBefore = dialog.ProgressBar1->Position();
        fixture.ui.FireTimer(*dialog.Timer1);
        barAfter = dialog.ProgressBar1->Position();
        fixture.ui.PressCloseBox(form);
      });
  Repair();
  EXPECT_EQ(RunsOf("frmSystemPoint"), 1u);
  EXPECT_EQ(fixture.ui.ModalRuns().at(0).result, ModalResult::Cancel);
  EXPECT_EQ(barBefore, 0);
  EXPECT_EQ(barAfter, 10);
  EXPECT_FALSE(Repaired());
  EXPECT_FALSE(fixture.fs.FileExists(kBackupFile));

  // The worker's late answer goes nowhere.
  fixture.restore.Release();
  fixture.restore.WaitForReturns(1);
  fixture.ui.PumpPending();
  EXPECT_TRUE(fixture.ui.MessageBoxes().empty());
  EXPECT_EQ(fixture.Rows().size(), 1u);
}

}  // namespace
}  // namespace quillet::testing
