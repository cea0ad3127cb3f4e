#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "scan/ProblemEntry.h"
#include "scan/ScanSink.h"

namespace quillet {

// What the GUI thread does with a scan's reports. Called on the GUI thread only.
class ScanReceiver {
 public:
  virtual ~ScanReceiver() = default;
  virtual void ShowStatus(const std::string& text) = 0;
  virtual void ShowKey(const std::string& keyPath) = 0;
  virtual void AppendRows(std::vector<ProblemEntry>& rows) = 0;
  virtual void StartCategory() = 0;
  virtual void FinishCategory() = 0;
  virtual void FinishRun() = 0;
  virtual void FailRun(const std::string& message) = 0;
};

// The sink of a scan whose windows live on another thread. The scan thread's reports are queued
// and handed to the receiver on the GUI thread, one wake-up message per hand-over. Between two
// category steps the rows travel as one batch, in order, and only the latest status and key line
// are handed over: the GUI thread applies a hand-over at once, before it paints, so the lines it
// skips would never have been seen. The category steps, the end and a failure keep their place,
// and the category steps wait until the GUI thread has run them, or until the scan is cancelled.
class GuiScanSink final : public ScanSink {
 public:
  // wake is called on the scan thread when the queue needs the GUI thread; it posts a message
  // whose handler calls Deliver().
  GuiScanSink(ScanReceiver& receiver, std::function<void()> wake);

  void SetStatusText(const std::string& text) override;
  void ShowScannedKey(const std::string& keyPath) override;
  void AddRow(const ProblemEntry& row) override;
  void CategoryStarted() override;
  void CategoryFinished() override;
  void RunFinished() override;
  void RunFailed(const std::string& message) override;

  // GUI thread: hands everything queued to the receiver, in order. After Cancel() only the
  // rows, status and key lines are handed over; the category steps and the end are dropped.
  void Deliver();
  // GUI thread, on a stop: a scan thread waiting for a category step goes on to its stop check,
  // and later reports are dropped.
  void Cancel();

 private:
  enum class Kind { Status, Key, Rows, Started, Finished, Close, Failed };
  struct Event {
    Kind kind;
    std::string text;
    std::vector<ProblemEntry> rows;
    uint64_t ticket = 0;
  };

  // Queues under the lock; wakes the GUI thread when it is not yet due to look.
  template <typename Change>
  void Queue(Change change);
  // The status, key or rows event of the reports since the last category step, made on first use.
  Event& Pending(Kind kind, size_t& slot);
  void QueueStep(Kind kind, std::string text, uint64_t ticket);
  void RunOnGuiThread(Kind kind);

  ScanReceiver& receiver_;
  std::function<void()> wake_;
  std::mutex mutex_;
  std::condition_variable handedOver_;
  std::vector<Event> queue_;
  static constexpr size_t kNone = static_cast<size_t>(-1);
  size_t statusSlot_ = kNone;  // indexes into queue_ of this stretch's events
  size_t keySlot_ = kNone;
  size_t rowsSlot_ = kNone;
  bool wakePending_ = false;
  bool cancelled_ = false;
  uint64_t lastTicket_ = 0;
  uint64_t deliveredTicket_ = 0;
};

}  // namespace quillet
