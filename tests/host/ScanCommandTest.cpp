// The scan command of the main window, its progress dialog and the unattended run, driven
// through the scripted UI with scanners of the tests' own.
#include <gtest/gtest.h>

#include <atomic>

#include "MainWindowFixture.h"
#include "base/WindowMessages.h"

namespace quillet::testing {
namespace {

using ui::ModalResult;

class ScanCommandTest : public ::testing::Test {
 protected:
  TfrmQuillet& window() { return fixture.Window(); }
  TProblemList& list() { return *fixture.Window().lvRegistryData; }
  static TfrmRegProgressHint& Progress(ui::TForm& form) { return static_cast<TfrmRegProgressHint&>(form); }
  std::vector<ScriptedUi::ModalRun> ProgressRuns() {
    std::vector<ScriptedUi::ModalRun> runs;
    for (const auto& run : fixture.ui.ModalRuns()) {
      if (run.form == "frmRegProgressHint") runs.push_back(run);
    }
    return runs;
  }
  MainWindowFixture fixture;
};

TEST_F(ScanCommandTest, FillsTheListInCategoryOrderTicksEveryRowAndCountsThem) {
  ScriptedScanners::Set(6, ScriptedScanners::AddRows(2, "Six"));
  ScriptedScanners::Set(9, ScriptedScanners::AddRows(1, "Nine"));
  fixture.Open();
  fixture.TickOnly({6, 9});
  window().bScanRegistryClick();

  EXPECT_EQ(fixture.Rows(), (std::vector<std::string>{
                                "Software Locations Issue|HKEY_LOCAL_MACHINE\\Software\\Six1|v1|0|ticked",
                                "Software Locations Issue|HKEY_LOCAL_MACHINE\\Software\\Six2|v2|0|ticked",
                                "Missing Shared Dlls|HKEY_LOCAL_MACHINE\\Software\\Nine1|v1|0|ticked",
                            }));
  EXPECT_EQ(fixture.FoundText(), " 3 problems found");
  EXPECT_EQ(fixture.TickedText(), " 3 problems selected for repairing");
  ASSERT_EQ(ProgressRuns().size(), 1u);
  EXPECT_EQ(ProgressRuns()[0].result, ModalResult::Cancel) << "the scan's own close request is no stop";
  EXPECT_EQ(*window().SelectedCategoryCodes, (std::vector<std::string>{"1", "6", "9"}));
  EXPECT_TRUE(fixture.ui.Beeps().empty()) << "no beep unless the option asks";
}

TEST_F(ScanCommandTest, BeepsAfterTheScanWhenTheOptionIsOn) {
  OptionsSetting.Beep = true;
  fixture.Open();
  fixture.TickOnly({7});
  window().bScanRegistryClick();
  EXPECT_EQ(fixture.ui.Beeps(), (std::vector<std::pair<unsigned, unsigned>>{{2047, 500}}));
}

TEST_F(ScanCommandTest, WithNothingTickedDoesNothingAndKeepsTheOldRows) {
  ScriptedScanners::Set(6, ScriptedScanners::AddRows(2, "Old"));
  fixture.Open();
  window().bScanRegistryClick();
  fixture.UntickAll();
  list().SetChecked(0, false);
  window().bScanRegistryClick();
  EXPECT_EQ(list().Count(), 2u);
  EXPECT_FALSE(list().Item(0).checked) << "the rows are not ticked again either";
  EXPECT_EQ(ProgressRuns().size(), 1u);
}

TEST_F(ScanCommandTest, AStopWithFiveRowsOnScreenLeavesFour) {
  ScriptedScanners::Set(6, [](ScanContext& context) {
    ScriptedScanners::AddRows(5, "Key")(context);
    ScriptedScanners::RunUntilStopped()(context);
  });
  fixture.Open();
  fixture.TickOnly({6, 7});
  fixture.ui.WhileModal(
      "frmRegProgressHint", [&](ui::TForm&) { return list().Count() == 5; },
      [](ui::TForm& form) { Progress(form).bStop->Click(); });
  window().bScanRegistryClick();

  ASSERT_EQ(ProgressRuns().size(), 1u);
  EXPECT_EQ(ProgressRuns()[0].result, ModalResult::Abort);
  ASSERT_EQ(list().Count(), 4u);
  EXPECT_EQ(list().Text(3, 1), "HKEY_LOCAL_MACHINE\\Software\\Key4");
  EXPECT_EQ(fixture.FoundText(), " 4 problems found");
  EXPECT_EQ(fixture.TickedText(), " 4 problems selected for repairing");
}

TEST_F(ScanCommandTest, AStopBeforeAnyRowLeavesAnEmptyList) {
  std::atomic<bool> started{false};
  ScriptedScanners::Set(6, ScriptedScanners::RunUntilStopped(&started));
  fixture.Open();
  fixture.TickOnly({6});
  fixture.ui.WhileModal(
      "frmRegProgressHint", [&](ui::TForm&) { return started.load(); }, [](ui::TForm& form) { Progress(form).bStop->Click(); });
  window().bScanRegistryClick();
  EXPECT_EQ(ProgressRuns().at(0).result, ModalResult::Abort);
  EXPECT_EQ(list().Count(), 0u);
  EXPECT_EQ(fixture.FoundText(), " 0 problems found");
}

TEST_F(ScanCommandTest, StopPressedBeforeTheScanThreadStartsEndsTheDialogToo) {
  fixture.Open();
  fixture.TickOnly({6});
  fixture.ui.WhileModal("frmRegProgressHint", [](ui::TForm& form) { Progress(form).bStop->Click(); });
  // The script acts before the dialog handles its start message: no thread is ever made.
  window().bScanRegistryClick();
  EXPECT_EQ(ProgressRuns().at(0).result, ModalResult::Abort);
  EXPECT_EQ(list().Count(), 0u);
}

TEST_F(ScanCommandTest, TheCloseBoxDuringACategoryCountsAsAStop) {
  ScriptedScanners::Set(6, [](ScanContext& context) {
    ScriptedScanners::AddRows(3, "Key")(context);
    ScriptedScanners::RunUntilStopped()(context);
  });
  fixture.Open();
  fixture.TickOnly({6});
  fixture.ui.WhileModal(
      "frmRegProgressHint", [&](ui::TForm&) { return list().Count() == 3; },
      [&](ui::TForm& form) { fixture.ui.PressCloseBox(form); });
  window().bScanRegistryClick();
  EXPECT_EQ(ProgressRuns().at(0).result, ModalResult::Abort);
  EXPECT_EQ(list().Count(), 2u);
}

TEST_F(ScanCommandTest, CountsAreRefreshedAfterEachCategoryWhileTheScanRuns) {
  ScriptedScanners::Set(6, ScriptedScanners::AddRows(2, "Six"));
  ScriptedScanners::Set(7, ScriptedScanners::RunUntilStopped());
  fixture.Open();
  fixture.TickOnly({6, 7});
  std::string tickedDuringScan;
  fixture.ui.WhileModal(
      "frmRegProgressHint", [&](ui::TForm&) { return fixture.FoundText() == " 2 problems found"; },
      [&](ui::TForm& form) {
        tickedDuringScan = fixture.TickedText();
        Progress(form).bStop->Click();
      });
  window().bScanRegistryClick();
  EXPECT_EQ(tickedDuringScan, " 0 problems selected for repairing") << "rows arrive unticked";
  EXPECT_EQ(list().Count(), 1u);
}

TEST_F(ScanCommandTest, AScannerErrorKeepsTheDialogOpenWithItsTimerUntilStop) {
  ScriptedScanners::Set(6, ScriptedScanners::AddRows(2, "Six"));
  ScriptedScanners::Set(7, ScriptedScanners::Fail("Failed to get data for 'Count'"));
  ScriptedScanners::Set(9, ScriptedScanners::AddRows(2, "Never"));
  fixture.Open();
  fixture.TickOnly({6, 7, 9});
  bool timerOn = false;
  int step = -1;
  fixture.ui.WhileModal(
      "frmRegProgressHint", [](ui::TForm& form) { return !Progress(form).FailureMessage().empty(); },
      [&](ui::TForm& form) {
        TfrmRegProgressHint& dialog = Progress(form);
        EXPECT_EQ(dialog.FailureMessage(), "Failed to get data for 'Count'");
        timerOn = dialog.Timer1->Enabled();
        const int before = dialog.ProgressBar1->Position();
        fixture.ui.FireTimer(*dialog.Timer1);
        step = dialog.ProgressBar1->Position() - before;
        dialog.bStop->Click();
      });
  window().bScanRegistryClick();
  EXPECT_TRUE(timerOn);
  EXPECT_EQ(step, 10);
  EXPECT_EQ(ProgressRuns().at(0).result, ModalResult::Abort);
  EXPECT_EQ(fixture.Rows(), (std::vector<std::string>{
                                "Software Locations Issue|HKEY_LOCAL_MACHINE\\Software\\Six1|v1|0|ticked"}));
}

TEST_F(ScanCommandTest, ResetsTheColumnWidthsOfAnEmptyList) {
  fixture.Open();
  list().SetColumnWidth(1, 40);
  list().SetColumnWidth(2, 41);
  fixture.UntickAll();
  window().bScanRegistryClick();
  EXPECT_EQ(list().Columns()[1].width, 300);
  EXPECT_EQ(list().Columns()[2].width, 150);
}

TEST_F(ScanCommandTest, CtrlSOnTheActionMenuStartsTheScan) {
  ScriptedScanners::Set(8, ScriptedScanners::AddRows(1, "Help"));
  fixture.Open();
  fixture.TickOnly({8});
  ui::TMenuItem* item = window().MainMenu1->FindShortCut(ui::TShortCut::Ctrl('S'));
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->Name(), "miScanRegistry");
  item->Click();
  EXPECT_EQ(list().Count(), 1u);
}

class CleanOnceTest : public ScanCommandTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(CleanOnceTest, ScansUnseenRepairsThenClosesTheWindow) {
  ScriptedScanners::Set(9, ScriptedScanners::AddRows(2, "Dll"));
  OptionsSetting.TreeNodeChecks.fill(false);
  OptionsSetting.TreeNodeChecks[1] = true;
  OptionsSetting.TreeNodeChecks[9] = true;
  OptionsSetting.OutputDirectory = "C:\\Backups";
  OptionsSetting.ShowHint = false;
  fixture.fs.folder("C:\\Backups");
  fixture.reg.key("HKEY_LOCAL_MACHINE\\Software\\Dll1").str("A", "1");
  fixture.reg.key("HKEY_LOCAL_MACHINE\\Software\\Dll2").str("B", "2");
  bool mainVisibleDuringScan = true;
  fixture.ui.AtModalEnd("frmRegProgressHint", [&](ui::TForm&) { mainVisibleDuringScan = fixture.Window().Visible(); });
  fixture.Open({GetParam()});

  EXPECT_TRUE(window().CleanOnce);
  ASSERT_EQ(ProgressRuns().size(), 1u);
  EXPECT_FALSE(ProgressRuns()[0].visibleAtEnd) << "the progress dialog hides itself";
  EXPECT_EQ(ProgressRuns()[0].result, ModalResult::Cancel);
  EXPECT_FALSE(mainVisibleDuringScan);
  EXPECT_EQ(list().Count(), 0u) << "every row was repaired";
  EXPECT_EQ(fixture.reg.DeletedKeys(),
            (std::vector<std::string>{"HKEY_LOCAL_MACHINE\\Software\\Dll2", "HKEY_LOCAL_MACHINE\\Software\\Dll1"}));
  EXPECT_TRUE(fixture.fs.FileExists("C:\\Backups\\Backup20260307090503.reg"));
  EXPECT_TRUE(fixture.ui.Closed(window()));
}

// Nobody can press Stop on the hidden dialog: a scanner error ends the scan as Stop would, the
// repair runs on what was found and the window closes.
TEST_F(ScanCommandTest, CleanOnceEndsTheScanAtAScannerErrorAndStillRepairsAndCloses) {
  ScriptedScanners::Set(6, ScriptedScanners::AddRows(2, "Six"));
  ScriptedScanners::Set(7, ScriptedScanners::Fail("Failed to get data for 'Count'"));
  ScriptedScanners::Set(9, ScriptedScanners::AddRows(1, "Never"));
  OptionsSetting.TreeNodeChecks.fill(false);
  for (int code : {1, 6, 7, 9}) OptionsSetting.TreeNodeChecks[static_cast<size_t>(code)] = true;
  OptionsSetting.OutputDirectory = "C:\\Backups";
  OptionsSetting.ShowHint = false;
  fixture.fs.folder("C:\\Backups");
  fixture.reg.key("HKEY_LOCAL_MACHINE\\Software\\Six1").str("A", "1");
  fixture.reg.key("HKEY_LOCAL_MACHINE\\Software\\Six2").str("B", "2");
  fixture.Open({"-cleanonce"});

  ASSERT_EQ(ProgressRuns().size(), 1u);
  EXPECT_EQ(ProgressRuns()[0].result, ModalResult::Abort);
  EXPECT_EQ(fixture.reg.DeletedKeys(), (std::vector<std::string>{"HKEY_LOCAL_MACHINE\\Software\\Six1"}))
      << "as after Stop, the last row found may be unfinished and is dropped";
  EXPECT_TRUE(fixture.ui.Closed(window()));
}

// A second start of the program during the run shows and activates the window again.
TEST_F(ScanCommandTest, CleanOnceRunsOncePerProcess) {
  ScriptedScanners::Set(9, ScriptedScanners::AddRows(1, "Dll"));
  OptionsSetting.OutputDirectory = "C:\\Backups";
  OptionsSetting.ShowHint = false;
  fixture.fs.folder("C:\\Backups");
  fixture.ui.WhileModal("frmRegProgressHint", [this](ui::TForm&) {
    window().Show();
    window().OnActivate();
  });
  fixture.Open({"-cleanonce"});
  window().OnActivate();
  fixture.ui.PumpPending();
  EXPECT_EQ(ProgressRuns().size(), 1u);
}

TEST_F(ScanCommandTest, CleanOnceStillAsksAboutAMissingBackupFolder) {
  ScriptedScanners::Set(9, ScriptedScanners::AddRows(1, "Dll"));
  fixture.reg.key("HKEY_LOCAL_MACHINE\\Software\\Dll1").str("A", "1");
  OptionsSetting.OutputDirectory = "C:\\Missing";
  fixture.ui.AnswerMessageBox(ModalResult::No);
  fixture.Open({"-cleanonce"});
  EXPECT_EQ(fixture.ui.MessageBoxes().size(), 1u);
  EXPECT_TRUE(fixture.reg.DeletedKeys().empty());
  EXPECT_TRUE(fixture.ui.Closed(window()));
}

INSTANTIATE_TEST_SUITE_P(AnyCase, CleanOnceTest, ::testing::Values("-cleanonce", "-CLEANONCE", "-CleanOnce"));

TEST_F(ScanCommandTest, CleanOnceCountsOnlyAsTheFirstArgument) {
  fixture.Open({"-other", "-cleanonce"});
  EXPECT_FALSE(window().CleanOnce);
  EXPECT_TRUE(ProgressRuns().empty());
  EXPECT_FALSE(fixture.ui.Closed(window()));
}

}  // namespace
}  // namespace quillet::testing
