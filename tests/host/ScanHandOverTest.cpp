// The hand-over of a scan's reports to the GUI thread (run under ThreadSanitizer in CI).
#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "ScanFixture.h"
#include "scan/ScanHandOver.h"
#include "scan/ScanTask.h"

namespace quillet::testing {
namespace {

// Plays the GUI thread: wake-ups are counted and queued, Pump() delivers as the handler would.
class GuiThread : public ScanReceiver {
 public:
  GuiThread() : sink(*this, [this] { Wake(); }) {}

  void Wake() {
    std::lock_guard lock(mutex);
    ++wakes;
    pending = true;
    woken.notify_all();
  }
  void WaitForWake() {
    std::unique_lock lock(mutex);
    woken.wait(lock, [this] { return pending; });
  }
  // Delivers whenever woken, until the predicate (checked on this thread) holds.
  template <typename Done>
  void PumpUntil(Done done) {
    while (!done()) {
      {
        std::unique_lock lock(mutex);
        woken.wait_for(lock, std::chrono::milliseconds(5), [this] { return pending; });
        pending = false;
      }
      sink.Deliver();
    }
  }

  void ShowStatus(const std::string& text) override { Record("status " + text); }
  void ShowKey(const std::string& keyPath) override { lastKey = keyPath; }
  void AppendRows(std::vector<ProblemEntry>& rows) override {
    CheckThread();
    ++batches;
    for (const ProblemEntry& row : rows) events.push_back("row " + row.keyPath);
  }
  void StartCategory() override { Record("started"); }
  void FinishCategory() override { Record("finished"); }
  void FinishRun() override { Record("close"); }
  void FailRun(const std::string& message) override { Record("failed " + message); }

  void Record(std::string event) {
    CheckThread();
    events.push_back(std::move(event));
  }
  void CheckThread() { EXPECT_EQ(std::this_thread::get_id(), guiThread); }

  std::thread::id guiThread = std::this_thread::get_id();
  std::mutex mutex;
  std::condition_variable woken;
  bool pending = false;
  int wakes = 0;
  std::vector<std::string> events;  // GUI thread only
  std::string lastKey;
  int batches = 0;
  GuiScanSink sink;
};

ProblemEntry Row(const std::string& key) { return {"Problem", key, "", RepairAction::DeleteKey, false}; }

TEST(ScanHandOver, EveryReportReachesTheGuiThreadInOrder) {
  GuiThread gui;
  std::thread scan([&] {
    for (int category = 0; category < 3; ++category) {
      gui.sink.CategoryStarted();
      gui.sink.SetStatusText("category " + std::to_string(category));
      for (int i = 0; i < 500; ++i) {
        gui.sink.ShowScannedKey("Key" + std::to_string(i));
        gui.sink.AddRow(Row(std::to_string(category) + "." + std::to_string(i)));
      }
      gui.sink.CategoryFinished();
    }
    gui.sink.RunFinished();
  });
  gui.PumpUntil([&] { return !gui.events.empty() && gui.events.back() == "close"; });
  scan.join();

  std::vector<std::string> expected;
  for (int category = 0; category < 3; ++category) {
    expected.push_back("started");
    expected.push_back("status category " + std::to_string(category));
    for (int i = 0; i < 500; ++i) expected.push_back("row " + std::to_string(category) + "." + std::to_string(i));
    expected.push_back("finished");
  }
  expected.push_back("close");
  EXPECT_EQ(gui.events, expected);
  EXPECT_EQ(gui.lastKey, "Key499");
}

TEST(ScanHandOver, ReportsQueuedSinceTheLastStepTravelAsOneBatchWithOneWakeUp) {
  GuiThread gui;
  std::thread scan([&] {
    for (int i = 0; i < 1000; ++i) {
      gui.sink.ShowScannedKey("Key" + std::to_string(i));
      gui.sink.AddRow(Row(std::to_string(i)));
    }
  });
  scan.join();
  EXPECT_EQ(gui.wakes, 1);
  gui.sink.Deliver();
  EXPECT_EQ(gui.events.size(), 1000u);
  EXPECT_EQ(gui.batches, 1);
  EXPECT_EQ(gui.lastKey, "Key999");
}

TEST(ScanHandOver, ACategoryStepKeepsItsPlaceBetweenTheBatches) {
  GuiThread gui;
  std::thread scan([&] {
    gui.sink.AddRow(Row("first"));
    gui.sink.SetStatusText("one");
    gui.sink.CategoryFinished();
    gui.sink.SetStatusText("two");
    gui.sink.AddRow(Row("second"));
    gui.sink.RunFinished();
  });
  gui.PumpUntil([&] { return !gui.events.empty() && gui.events.back() == "close"; });
  scan.join();
  EXPECT_EQ(gui.events, (std::vector<std::string>{"row first", "status one", "finished", "status two", "row second",
                                                  "close"}));
}

TEST(ScanHandOver, ACategoryStepWaitsForTheGuiThread) {
  GuiThread gui;
  std::atomic<bool> returned{false};
  std::thread scan([&] {
    gui.sink.CategoryStarted();
    returned = true;
  });
  gui.WaitForWake();
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_FALSE(returned.load()) << "the scan thread went on before the step ran";
  gui.sink.Deliver();
  scan.join();
  EXPECT_TRUE(returned.load());
  EXPECT_EQ(gui.events, std::vector<std::string>{"started"});
}

TEST(ScanHandOver, CancelReleasesAWaitingScanThreadAndKeepsTheRowsAlreadySent) {
  GuiThread gui;
  std::thread scan([&] {
    gui.sink.AddRow(Row("before"));
    gui.sink.CategoryStarted();  // never delivered: only the cancel lets it return
    gui.sink.AddRow(Row("after"));
    gui.sink.RunFinished();
  });
  gui.WaitForWake();
  // Give the thread time to reach its wait; the cancel must release it wherever it is.
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  gui.sink.Cancel();
  scan.join();
  gui.sink.Deliver();
  EXPECT_EQ(gui.events, std::vector<std::string>{"row before"});
}

TEST(ScanHandOver, AStopOfTheScanThreadAloneEndsAWaitForTheGuiThread) {
  GuiThread gui;
  ScanFixture fixture;
  TScanTaskThread task(CurrentPlatform());
  task.CategoryCodes = {1, 2};
  task.Sink = &gui.sink;
  gui.sink.WatchStop(&task.GetStopFlag());
  task.Start();
  gui.WaitForWake();  // the first category step waits; nobody delivers it
  task.Stop();
  task.Wait();
  gui.sink.Deliver();
  EXPECT_EQ(gui.events, std::vector<std::string>{"started"}) << "the run ended at the stop";
}

}  // namespace
}  // namespace quillet::testing
