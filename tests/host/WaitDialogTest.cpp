// The wait dialog around a child process: it closes by itself when the process ends, paces its
// bar meanwhile, and stops the process when the user does not want to wait.
#include <gtest/gtest.h>

#include "MainWindowFixture.h"
#include "main/BackupHint.h"

namespace quillet::testing {
namespace {

using ui::ModalResult;

class WaitDialogTest : public ::testing::Test {
 protected:
  WaitDialogTest() {
    fixture.Open();
    child = fixture.processes.Start("regedit.exe /e \"C:\\Backups\\full.reg\"", true);
    state = fixture.processes.StartedProcesses().at(0).state;
    dialog.Process = child.get();
    dialog.lHint->SetCaption("Exporting the registry...");
  }
  static TfrmBackupHint& Wait(ui::TForm& form) { return static_cast<TfrmBackupHint&>(form); }

  MainWindowFixture fixture;
  std::unique_ptr<ChildProcess> child;
  std::shared_ptr<ScriptedChildProcess::State> state;
  TfrmBackupHint dialog{fixture.ui};
};

TEST_F(WaitDialogTest, AProcessThatEndsBeforeTheFirstTickClosesItWithOk) {
  fixture.ui.WhileModal("frmBackupHint", [&](ui::TForm& form) {
    state->ended = true;
    fixture.ui.FireTimer(*Wait(form).Timer1);
  });
  EXPECT_EQ(dialog.ShowModal(), ModalResult::Ok);
  EXPECT_EQ(state->terminations, 0);
  EXPECT_EQ(dialog.Caption(), "Orvane Quillet");
  EXPECT_EQ(dialog.Timer1->Interval(), 500u);
}

TEST_F(WaitDialogTest, TheBarSlowsAsItFillsWhileTheProcessRuns) {
  std::vector<int> positions;
  fixture.ui.WhileModal("frmBackupHint", [&](ui::TForm& form) {
    for (int tick = 0; tick < 100; ++tick) {
      fixture.ui.FireTimer(*Wait(form).Timer1);
      positions.push_back(Wait(form).ProgressBar1->Position());
    }
    Wait(form).bStop->Click();
  });
  dialog.ShowModal();
  EXPECT_EQ(positions.at(0), 10);
  EXPECT_EQ(positions.at(30), 310) << "from 300 still by ten";
  EXPECT_EQ(positions.at(31), 315) << "then by five";
  ASSERT_EQ(positions.size(), 100u);
  EXPECT_EQ(positions.back(), 500) << "and it stops at the end of its range";
  EXPECT_EQ(dialog.ProgressBar1->Max(), 500);
}

TEST_F(WaitDialogTest, StopEndsTheProcessAtOnceWithExitCodeZero) {
  fixture.ui.WhileModal("frmBackupHint", [&](ui::TForm& form) { Wait(form).bStop->Click(); });
  EXPECT_EQ(dialog.ShowModal(), ModalResult::Cancel);
  EXPECT_EQ(state->terminations, 1);
  EXPECT_EQ(state->exitCode, 0u);
}

TEST_F(WaitDialogTest, TheCloseBoxStopsTheProcessToo) {
  // Cancel tells the caller the process was stopped; it must not still be writing.
  fixture.ui.WhileModal("frmBackupHint", [&](ui::TForm& form) { fixture.ui.PressCloseBox(form); });
  EXPECT_EQ(dialog.ShowModal(), ModalResult::Cancel);
  EXPECT_EQ(state->terminations, 1);
}

}  // namespace
}  // namespace quillet::testing
