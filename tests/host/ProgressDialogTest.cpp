// The scan progress dialog: bar pacing, the category steps and the drive queries.
#include <gtest/gtest.h>

#include <atomic>

#include "MainWindowFixture.h"

namespace quillet::testing {
namespace {

TEST(ProgressPacing, StepsSlowDownAsTheBarFills) {
  const std::vector<std::pair<int, int>> steps = {
      {0, 10},    {200, 210}, {201, 206}, {400, 405}, {401, 404}, {700, 703},  {701, 703},
      {800, 802}, {801, 802}, {998, 999}, {999, 999}, {1000, 1000},
  };
  for (auto [from, to] : steps) EXPECT_EQ(NextProgressPosition(from), to) << "from " << from;
}

class ProgressDialogTest : public ::testing::Test {
 protected:
  static TfrmRegProgressHint& Progress(ui::TForm& form) { return static_cast<TfrmRegProgressHint&>(form); }
  MainWindowFixture fixture;
};

TEST_F(ProgressDialogTest, TheTimerMovesTheBarFromZeroTo999In406TicksAndNoFurther) {
  std::atomic<bool> started{false};
  ScriptedScanners::Set(6, ScriptedScanners::RunUntilStopped(&started));
  fixture.Open();
  fixture.TickOnly({6});
  int ticksTo999 = 0;
  int afterMore = 0;
  fixture.ui.WhileModal(
      "frmRegProgressHint", [&](ui::TForm& form) { return started && Progress(form).Timer1->Enabled(); },
      [&](ui::TForm& form) {
        TfrmRegProgressHint& dialog = Progress(form);
        EXPECT_EQ(dialog.ProgressBar1->Position(), 0) << "a category starts the bar at 0";
        EXPECT_EQ(dialog.Timer1->Interval(), 500u);
        while (dialog.ProgressBar1->Position() < 999 && ticksTo999 < 1000) {
          fixture.ui.FireTimer(*dialog.Timer1);
          ++ticksTo999;
        }
        for (int i = 0; i < 50; ++i) fixture.ui.FireTimer(*dialog.Timer1);
        afterMore = dialog.ProgressBar1->Position();
        dialog.bStopClick();
      });
  fixture.Window().bScanRegistryClick();
  EXPECT_EQ(ticksTo999, 406);
  EXPECT_EQ(afterMore, 999);
}

TEST_F(ProgressDialogTest, AFinishedCategoryFillsTheBarAndStopsTheTimer) {
  ScriptedScanners::Set(6, ScriptedScanners::AddRows(1, "A"));
  fixture.Open();
  fixture.TickOnly({6});
  std::vector<std::string> seen;
  fixture.ui.AtModalEnd("frmRegProgressHint", [&](ui::TForm& form) {
    TfrmRegProgressHint& dialog = Progress(form);
    seen = {dialog.Timer1->Enabled() ? "timer on" : "timer off", std::to_string(dialog.ProgressBar1->Position()),
            dialog.lScanTask->Caption(), dialog.Memo1->Text()};
  });
  fixture.Window().bScanRegistryClick();
  EXPECT_EQ(seen, (std::vector<std::string>{"timer off", "1000", "Scanning Software Locations...", "Software\\A1"}));
}

TEST_F(ProgressDialogTest, StartsWithItsDesignTexts) {
  fixture.Open();
  fixture.TickOnly({6});
  fixture.ui.WhileModal("frmRegProgressHint", [](ui::TForm& form) {
    TfrmRegProgressHint& dialog = Progress(form);
    EXPECT_EQ(dialog.Caption(), "Scanning");
    EXPECT_EQ(dialog.ClientWidth(), 395);
    EXPECT_EQ(dialog.ClientHeight(), 166);
    EXPECT_EQ(dialog.lScanTask->Caption(), "Scanning ");
    EXPECT_EQ(dialog.Memo1->Lines(), std::vector<std::string>{"Registry Key"});
    EXPECT_EQ(dialog.ProgressBar1->Max(), 1000);
    EXPECT_EQ(dialog.bStop->Caption(), "Stop");
    EXPECT_FALSE(dialog.Timer1->Enabled());
  });
  fixture.Window().bScanRegistryClick();
}

struct DriveCase {
  bool includeRemoveMedia;
  bool expectA;
  bool expectB;
};

class DriveReadyTest : public ProgressDialogTest, public ::testing::WithParamInterface<DriveCase> {};

TEST_P(DriveReadyTest, FloppyDrivesAreQueriedOnlyWithRemovableMediaIncluded) {
  fixture.fs.removableDrive('a', true).removableDrive('b', false);
  OptionsSetting.IncludeRemoveMedia = GetParam().includeRemoveMedia;
  fixture.Open();
  fixture.TickOnly({6});
  bool driveA = !GetParam().expectA;
  bool driveB = !GetParam().expectB;
  fixture.Window().PrepareScan = [&](TScanTaskThread& thread) {
    driveA = thread.DriveAReady;
    driveB = thread.DriveBReady;
    thread.ScannerFor = ScriptedScanners::Find;
  };
  fixture.Window().bScanRegistryClick();
  EXPECT_EQ(driveA, GetParam().expectA);
  EXPECT_EQ(driveB, GetParam().expectB);
}

INSTANTIATE_TEST_SUITE_P(Options, DriveReadyTest,
                         ::testing::Values(DriveCase{true, true, false}, DriveCase{false, false, false}));

}  // namespace
}  // namespace quillet::testing
