// The backup tools: the Restore dialog's listing, restore and delete, the export of the whole
// registry and the system's backup program, driven from the main window's commands.
#include <gtest/gtest.h>

#include "MainWindowFixture.h"
#include "main/BackupHint.h"
#include "tools/BackupFiles.h"
#include "tools/Restore.h"

namespace quillet::testing {
namespace {

using ui::ModalResult;

constexpr const char* kFolder = "C:\\Backups";
constexpr int64_t kJan1 = 1388574000;  // 2014-01-01 11:00:00 UTC
constexpr int64_t kJan2 = 1388646000;  // 2014-01-02 07:00:00 UTC

TfrmRestore& Restore(ui::TForm& form) { return static_cast<TfrmRestore&>(form); }

std::vector<std::string> Rows(const ui::TListView& list) {
  std::vector<std::string> rows;
  for (size_t i = 0; i < list.Count(); ++i) {
    rows.push_back(list.Text(i, 0) + "|" + list.Text(i, 1) + "|" + list.Text(i, 2) +
                   (list.Item(i).selected ? "|selected" : ""));
  }
  return rows;
}

TEST(BackupFilesTest, SizesAreKilobytesRoundedUpWithCommasBetweenGroups) {
  const std::pair<uint64_t, const char*> cases[] = {
      {0, "0 KB"},       {1, "1 KB"},           {1024, "1 KB"},
      {1025, "2 KB"},    {1024 * 999, "999 KB"}, {1024 * 1000, "1,000 KB"},
      {123456789, "120,564 KB"}, {1024ull * 1234567, "1,234,567 KB"}};
  for (const auto& [bytes, text] : cases) EXPECT_EQ(BackupSizeText(bytes), text) << bytes << " bytes";
}

TEST(BackupFilesTest, AFullBackupNameGetsRegUnlessItEndsInItInAnyCase) {
  const std::pair<const char*, const char*> cases[] = {{"C:\\full", "C:\\full.reg"},
                                                       {"C:\\full.REG", "C:\\full.REG"},
                                                       {"C:\\full.Reg", "C:\\full.Reg"},
                                                       {"C:\\full.txt", "C:\\full.txt.reg"},
                                                       {"C:\\dir.reg\\full", "C:\\dir.reg\\full.reg"}};
  for (const auto& [chosen, used] : cases) EXPECT_EQ(WithRegExtension(chosen), used) << chosen;
}

class RestoreDialogTest : public ::testing::Test {
 protected:
  RestoreDialogTest() {
    OptionsSetting.OutputDirectory = kFolder;
    fixture.clock.utcOffsetMinutes(60);
    fixture.fs.file("C:\\Backups\\Backup20140101120000.reg", std::string(1025, 'a'))
        .lastWriteTime("C:\\Backups\\Backup20140101120000.reg", kJan1)
        .file("C:\\Backups\\backup20140102080000.REG", "REGEDIT4\r\n")
        .lastWriteTime("C:\\Backups\\backup20140102080000.REG", kJan2)
        .file("C:\\Backups\\notes.txt", "x")
        .folder("C:\\Backups\\old.reg");
  }

  // Opens the dialog from the main window's button; the steps act in it in turn.
  void OpenRestore(std::vector<std::function<void(TfrmRestore&)>> steps) {
    if (!opened_) fixture.Open();
    opened_ = true;
    for (auto& step : steps) {
      fixture.ui.WhileModal("frmRestore", [step](ui::TForm& form) { step(Restore(form)); });
    }
    fixture.ui.WhileModal("frmRestore", [](ui::TForm& form) { Restore(form).bClose->Click(); });
    fixture.Window().bRestoreRegistry->Click();
  }

  // The registry editor's process: it ends by itself, or the user stops it.
  void EditorEnds() {
    fixture.ui.WhileModal("frmBackupHint", [this](ui::TForm& form) {
      fixture.processes.StartedProcesses().back().state->ended = true;
      fixture.ui.FireTimer(*static_cast<TfrmBackupHint&>(form).Timer1);
    });
  }
  void UserStopsEditor() {
    fixture.ui.WhileModal("frmBackupHint",
                          [](ui::TForm& form) { static_cast<TfrmBackupHint&>(form).bStop->Click(); });
  }

  MainWindowFixture fixture;

 private:
  bool opened_ = false;
};

TEST_F(RestoreDialogTest, ListsTheRegFilesOfTheBackupFolderNewestNameFirst) {
  std::vector<std::string> rows;
  OpenRestore({[&](TfrmRestore& dialog) {
    rows = Rows(*dialog.ListView1);
    EXPECT_EQ(dialog.Caption(), "Orvane Quillet");
    EXPECT_EQ(dialog.eFolder->Text(), kFolder);
    EXPECT_FALSE(dialog.bRestore->Enabled()) << "nothing is selected yet";
    EXPECT_FALSE(dialog.bDelete->Enabled());
  }});
  EXPECT_EQ(rows, (std::vector<std::string>{"backup20140102080000.REG|2014-01-02 08:00:00|1 KB",
                                            "Backup20140101120000.reg|2014-01-01 12:00:00|2 KB"}));
  EXPECT_TRUE(fixture.ui.MessageBoxes().empty());
}

TEST_F(RestoreDialogTest, AMissingFolderIsReportedAndLeavesTheCommandsOff) {
  OptionsSetting.OutputDirectory = "C:\\Nowhere";
  OpenRestore({[](TfrmRestore& dialog) {
    EXPECT_EQ(dialog.ListView1->Count(), 0u);
    EXPECT_FALSE(dialog.bRestore->Enabled());
    EXPECT_FALSE(dialog.bDelete->Enabled());
  }});
  ASSERT_EQ(fixture.ui.MessageBoxes().size(), 1u);
  EXPECT_EQ(fixture.ui.MessageBoxes()[0].text, "The backup directory does not exist.");
  EXPECT_EQ(fixture.ui.MessageBoxes()[0].title, "Orvane Quillet");
  EXPECT_EQ(fixture.ui.MessageBoxes()[0].icon, ui::MessageIcon::Information);
}

struct RestoreCase {
  const char* name;
  bool editorEnds;
  bool deleteBackupFile;
  bool fileGoes;
};

class RestoreRunTest : public RestoreDialogTest, public ::testing::WithParamInterface<RestoreCase> {};

TEST_P(RestoreRunTest, TheFileGoesOnlyAfterAnEditorThatEndedByItselfWithDeleteBackupFileOn) {
  const RestoreCase& c = GetParam();
  OptionsSetting.DeleteBackupFile = c.deleteBackupFile;
  if (c.editorEnds) {
    EditorEnds();
  } else {
    UserStopsEditor();
  }
  std::vector<std::string> rows;
  OpenRestore({[](TfrmRestore& dialog) { dialog.ListView1->SetSelectedFromUser(1, true); },
               [](TfrmRestore& dialog) { dialog.bRestore->Click(); },
               [&](TfrmRestore& dialog) { rows = Rows(*dialog.ListView1); }});

  const auto started = fixture.processes.StartedProcesses();
  ASSERT_EQ(started.size(), 1u);
  EXPECT_EQ(started[0].commandLine, "Regedit /s \"C:\\Backups\\Backup20140101120000.reg\"");
  EXPECT_TRUE(started[0].hidden);
  EXPECT_EQ(started[0].state->terminations, c.editorEnds ? 0 : 1);
  EXPECT_EQ(fixture.fs.FileExists("C:\\Backups\\Backup20140101120000.reg"), !c.fileGoes);
  EXPECT_EQ(rows.size(), c.fileGoes ? 1u : 2u);
  EXPECT_TRUE(fixture.fs.FileExists("C:\\Backups\\backup20140102080000.REG"));
}

INSTANTIATE_TEST_SUITE_P(Outcomes, RestoreRunTest,
                         ::testing::Values(RestoreCase{"EndedDeleteOn", true, true, true},
                                           RestoreCase{"StoppedDeleteOn", false, true, false},
                                           RestoreCase{"EndedDeleteOff", true, false, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(RestoreDialogTest, ADoubleClickRestoresAndAnEditorThatCannotStartLeavesTheFile) {
  fixture.processes.failStarts();
  OpenRestore({[](TfrmRestore& dialog) { dialog.ListView1->SetSelectedFromUser(0, true); },
               [](TfrmRestore& dialog) { dialog.ListView1->OnDblClick(); },
               [](TfrmRestore& dialog) { EXPECT_EQ(dialog.ListView1->Count(), 2u); }});
  ASSERT_EQ(fixture.ui.MessageBoxes().size(), 1u);
  EXPECT_EQ(fixture.ui.MessageBoxes()[0].text, "Please check if Regedit.exe exists.");
  EXPECT_EQ(fixture.ui.MessageBoxes()[0].icon, ui::MessageIcon::Information);
  EXPECT_TRUE(fixture.fs.FileExists("C:\\Backups\\backup20140102080000.REG"));
  EXPECT_TRUE(std::none_of(fixture.ui.ModalRuns().begin(), fixture.ui.ModalRuns().end(),
                           [](const auto& run) { return run.form == "frmBackupHint"; }));
}

TEST_F(RestoreDialogTest, ADeleteSelectsTheRowThatTookThePlaceElseTheNewLastAndAtLastNothing) {
  fixture.fs.file("C:\\Backups\\Backup20140103000000.reg");
  std::vector<std::vector<std::string>> shown;
  bool commandsOnAtEnd = true;
  const auto deleteAndLook = [&](TfrmRestore& dialog) {
    dialog.bDelete->Click();
    shown.push_back(Rows(*dialog.ListView1));
  };
  OpenRestore({[](TfrmRestore& dialog) { dialog.ListView1->SetSelectedFromUser(1, true); }, deleteAndLook,
               deleteAndLook, deleteAndLook, [&](TfrmRestore& dialog) {
                 commandsOnAtEnd = dialog.bRestore->Enabled() || dialog.bDelete->Enabled();
               }});
  const std::string jan3 = "Backup20140103000000.reg|2010-01-01 01:00:00|0 KB";
  const std::string jan1 = "Backup20140101120000.reg|2014-01-01 12:00:00|2 KB";
  EXPECT_EQ(shown, (std::vector<std::vector<std::string>>{{jan3, jan1 + "|selected"}, {jan3 + "|selected"}, {}}));
  EXPECT_FALSE(commandsOnAtEnd);
  EXPECT_EQ(fixture.shell.DeletedFiles(),
            (std::vector<std::string>{"C:\\Backups\\backup20140102080000.REG", "C:\\Backups\\Backup20140101120000.reg",
                                      "C:\\Backups\\Backup20140103000000.reg"}));
  EXPECT_TRUE(fixture.processes.StartedProcesses().empty()) << "a delete asks nothing and starts nothing";
}

TEST_F(RestoreDialogTest, BrowsingListsAnotherFolderOnlyForThisOpening) {
  fixture.fs.file("C:\\Other\\Elsewhere.reg").file("C:\\Other\\Backup20140101120000.reg");
  fixture.shell.answerBrowse("C:\\Other");
  std::vector<std::string> browsed;
  OpenRestore({[](TfrmRestore& dialog) { dialog.bBrowseFolder->Click(); },
               [&](TfrmRestore& dialog) {
                 EXPECT_EQ(dialog.eFolder->Text(), "C:\\Other");
                 for (size_t i = 0; i < dialog.ListView1->Count(); ++i) browsed.push_back(dialog.ListView1->Text(i, 0));
               }});
  EXPECT_EQ(browsed, (std::vector<std::string>{"Elsewhere.reg", "Backup20140101120000.reg"}));
  EXPECT_EQ(fixture.shell.BrowseTitles(), std::vector<std::string>{"Please select the directory to add"});
  EXPECT_EQ(OptionsSetting.OutputDirectory, kFolder);

  std::string folderAgain;
  OpenRestore({[&](TfrmRestore& dialog) { folderAgain = dialog.eFolder->Text(); }});
  EXPECT_EQ(folderAgain, kFolder);
}

class FullBackupTest : public RestoreDialogTest {
 protected:
  void BackUp() {
    fixture.Open();
    fixture.Window().MenuItem("miBackupFullRegistry")->Click();
  }
  std::vector<std::string> CommandLines() {
    std::vector<std::string> lines;
    for (const auto& started : fixture.processes.StartedProcesses()) lines.push_back(started.commandLine);
    return lines;
  }
};

TEST_F(FullBackupTest, ExportsTheWholeRegistryWithRegAddedAndReplacesAFileOnlyAfterYes) {
  fixture.ui.AnswerSaveDialog("C:\\full");
  EditorEnds();
  BackUp();
  EXPECT_EQ(CommandLines(), std::vector<std::string>{"Regedit /e \"C:\\full.reg\""});
  EXPECT_TRUE(fixture.processes.StartedProcesses()[0].hidden);
  EXPECT_EQ(fixture.Window().SaveDialog1->Title, "Save full registry");
  EXPECT_EQ(fixture.Window().SaveDialog1->Filter, "Registry backup files (*.reg)|*.REG");
  EXPECT_TRUE(fixture.ui.MessageBoxes().empty());

  fixture.fs.file("C:\\full.reg", "old");
  fixture.ui.AnswerSaveDialog("C:\\full.reg").AnswerMessageBox(ModalResult::No);
  fixture.Window().MenuItem("miBackupFullRegistry")->Click();
  EXPECT_EQ(CommandLines().size(), 1u) << "No leaves the file alone";
  ASSERT_EQ(fixture.ui.MessageBoxes().size(), 1u);
  const ui::MessageBoxRequest& question = fixture.ui.MessageBoxes()[0];
  EXPECT_EQ(question.text, "C:\\full.reg has existed,overite it?");
  EXPECT_EQ(question.buttons, ui::MessageButtons::YesNo);
  EXPECT_EQ(question.icon, ui::MessageIcon::Information);
  EXPECT_EQ(question.defaultButton, 2);

  fixture.ui.AnswerSaveDialog("C:\\full.reg").AnswerMessageBox(ModalResult::Yes);
  UserStopsEditor();
  fixture.Window().MenuItem("miBackupFullRegistry")->Click();
  EXPECT_EQ(CommandLines().size(), 2u) << "Yes lets the registry editor overwrite it";
}

TEST_F(FullBackupTest, WindowsBackupOpensNtbackupInTheSystemFolder) {
  fixture.fs.folder("C:\\Windows").env("SystemRoot", "C:\\Windows");
  fixture.Open();
  fixture.Window().MenuItem("miWindowsBackup")->Click();
  fixture.fs.env("SystemRoot", "C:\\NoSuchFolder");
  fixture.Window().MenuItem("miWindowsBackup")->Click();
  EXPECT_EQ(fixture.ui.OpenedDocuments(), (std::vector<std::string>{"C:\\Windows\\system32\\ntbackup.exe",
                                                                     "%SystemRoot%\\system32\\ntbackup.exe"}));
}

}  // namespace
}  // namespace quillet::testing
