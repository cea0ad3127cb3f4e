#include <gtest/gtest.h>

#include <atomic>

#include "ScanFixture.h"
#include "platform/RegistryStore.h"
#include "scan/DriveLetters.h"
#include "scan/ScanTask.h"

namespace quillet::testing {
namespace {

// Scanners of the test's own, chosen by code.
void AddOneRow(ScanContext& context) {
  context.AddRow("HKEY_LOCAL_MACHINE\\Software\\Row" + std::to_string(context.CurrentCategory()), "", RepairAction::DeleteKey);
}
void FailWithReadError(ScanContext&) { throw RegistryError(FailedToGetDataMessage("Count")); }

std::atomic<TScanTaskThread*> runningTask{nullptr};
void StopWhileScanning(ScanContext& context) {
  context.AddRow("HKEY_CURRENT_USER\\Software\\Before", "", RepairAction::DeleteKey);
  runningTask.load()->Stop();
  context.ShowScannedKey("Software");  // the next check unwinds the run
  context.AddRow("HKEY_CURRENT_USER\\Software\\After", "", RepairAction::DeleteKey);
}
std::atomic<bool> loopStarted{false};
void ScanUntilStopped(ScanContext& context) {
  for (int i = 0;; ++i) {
    context.ShowScannedKey("Key" + std::to_string(i));
    if (i % 100 == 0) context.AddRow("HKEY_CURRENT_USER\\Software\\Row" + std::to_string(i), "", RepairAction::DeleteKey);
    loopStarted = true;
  }
}

Scanner TestScanners(int code) {
  switch (code) {
    case 3: case 4: case 5: case 6: return AddOneRow;
    case 7: return FailWithReadError;
    case 8: return StopWhileScanning;
    case 9: return ScanUntilStopped;
    default: return nullptr;
  }
}

class ScanTaskTest : public ::testing::Test {
 protected:
  std::unique_ptr<TScanTaskThread> MakeTask(std::vector<int> codes) {
    auto task = std::make_unique<TScanTaskThread>(CurrentPlatform());
    task->CategoryCodes = std::move(codes);
    task->Sink = &fixture.sink;
    task->ScannerFor = TestScanners;
    runningTask = task.get();
    return task;
  }
  ScanFixture fixture;
};

TEST_F(ScanTaskTest, RunsCategoriesInOrderAndEndsWithTheCloseRequest) {
  auto task = MakeTask({2, 3, 4, 5});
  task->Start();
  task->Wait();
  EXPECT_EQ(fixture.sink.Events(),
            (std::vector<std::string>{
                "started", "finished",  // code 2 scans nothing but still resets and fills the bar
                "started", "status:Scanning Files and Folders - HKEY_LOCAL_MACHINE...",
                "row:HKEY_LOCAL_MACHINE\\Software\\Row3||0", "finished",
                "started", "status:Scanning Files and Folders - HKEY_CURRENT_USER...",
                "row:HKEY_LOCAL_MACHINE\\Software\\Row4||0", "finished",
                "started", "status:Scanning Files and Folders - HKEY_USERS...",
                "row:HKEY_LOCAL_MACHINE\\Software\\Row5||0", "finished", "close"}));
  EXPECT_EQ(fixture.sink.Rows()[0].problem, "Invalid File or Folder");
}

TEST_F(ScanTaskTest, TextThatIsNoNumberRunsNothing) {
  auto task = MakeTask({1, CategoryCodeFromText("x"), CategoryCodeFromText("6 "), 99});
  task->Run();
  EXPECT_EQ(fixture.sink.Events(), (std::vector<std::string>{"started", "finished", "started", "finished", "started",
                                                             "finished", "started", "finished", "close"}));
}

TEST_F(ScanTaskTest, ScannerErrorEndsTheRunWithoutCloseRequest) {
  auto task = MakeTask({6, 7, 3});
  task->Run();
  EXPECT_EQ(fixture.sink.Events(),
            (std::vector<std::string>{"started", "status:Scanning Software Locations...",
                                      "row:HKEY_LOCAL_MACHINE\\Software\\Row6||0", "finished", "started",
                                      "status:Scanning Windows Fonts...", "failed:Failed to get data for 'Count'"}));
}

TEST_F(ScanTaskTest, StopEndsTheRunAtTheNextCheck) {
  auto task = MakeTask({8, 3});
  task->Run();
  EXPECT_EQ(fixture.sink.Events(), (std::vector<std::string>{"started", "status:Scanning Invalid Help Files...",
                                                             "row:HKEY_CURRENT_USER\\Software\\Before||0"}));
}

TEST_F(ScanTaskTest, StopBeforeTheFirstCategoryReportsNothing) {
  auto task = MakeTask({3, 4});
  task->Stop();
  task->Run();
  EXPECT_TRUE(fixture.sink.Events().empty());
}

TEST_F(ScanTaskTest, StopFromAnotherThreadEndsARunningScan) {
  loopStarted = false;
  auto task = MakeTask({9, 3});
  task->Start();
  while (!loopStarted) std::this_thread::yield();
  task->Stop();
  task->Wait();
  std::vector<std::string> events = fixture.sink.Events();
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(std::count(events.begin(), events.end(), "close"), 0);
  EXPECT_EQ(std::count(events.begin(), events.end(), "finished"), 0);
  EXPECT_FALSE(fixture.sink.Rows().empty());
}

TEST_F(ScanTaskTest, CursorsOfAStoppedScanRefuseToOpen) {
  fixture.reg.key("HKEY_CURRENT_USER\\Software");
  fixture.stop.Request();
  auto context = fixture.Context();
  auto cursor = context->NewCursor();
  EXPECT_THROW((void)cursor->OpenKey("Software"), ScanStopped);
}

TEST_F(ScanTaskTest, MakingTheThreadFixesFlagsAndDriveLetters) {
  fixture.system.osVersion(PlatformId::WindowsNt, 6, 2);
  fixture.fs.cdromDrive('d').fixedDrive('e');
  auto task = MakeTask({});
  EXPECT_EQ(task->WindowsVersionCode, 13);
  EXPECT_TRUE(task->IsWin7Or8);
  EXPECT_TRUE(task->IsWin8);
  EXPECT_FALSE(task->IsWow64);
  EXPECT_EQ(task->DriveLetters, "ce");
  EXPECT_FALSE(task->DriveAReady);
}

struct DriveCase {
  bool includeRemoveMedia;
  bool includeCd;
  const char* letters;
};

class DriveLettersTest : public ::testing::TestWithParam<DriveCase> {};

TEST_P(DriveLettersTest, FollowDriveTypesAndOptions) {
  ScanFixture fixture;  // C: fixed
  fixture.fs.cdromDrive('d').removableDrive('e', true);
  const DriveCase& c = GetParam();
  EXPECT_EQ(BuildDriveLetters(fixture.fs, c.includeRemoveMedia, c.includeCd), c.letters);
}

INSTANTIATE_TEST_SUITE_P(Options, DriveLettersTest,
                         ::testing::Values(DriveCase{false, false, "c"}, DriveCase{false, true, "cd"},
                                           DriveCase{true, false, "abcefghijklmnopqrstuvwxyz"},
                                           DriveCase{true, true, "abcddefghijklmnopqrstuvwxyz"}),
                         [](const ::testing::TestParamInfo<DriveCase>& info) {
                           return std::string(info.param.includeRemoveMedia ? "Removable" : "NoRemovable") +
                                  (info.param.includeCd ? "Cd" : "NoCd");
                         });

}  // namespace
}  // namespace quillet::testing
