#include "scan/ScanHandOver.h"

namespace quillet {

GuiScanSink::GuiScanSink(ScanReceiver& receiver, std::function<void()> wake)
    : receiver_(receiver), wake_(std::move(wake)) {}

template <typename Change>
void GuiScanSink::Queue(Change change) {
  bool wake = false;
  {
    std::lock_guard lock(mutex_);
    if (cancelled_) return;
    change();
    wake = !wakePending_;
    wakePending_ = true;
  }
  if (wake) wake_();
}

GuiScanSink::Event& GuiScanSink::Pending(Kind kind, size_t& slot) {
  if (slot == kNone) {
    slot = queue_.size();
    queue_.push_back({kind, {}, {}, 0});
  }
  return queue_[slot];
}

void GuiScanSink::QueueStep(Kind kind, std::string text, uint64_t ticket) {
  queue_.push_back({kind, std::move(text), {}, ticket});
  statusSlot_ = keySlot_ = rowsSlot_ = kNone;
}

void GuiScanSink::SetStatusText(const std::string& text) {
  Queue([&] { Pending(Kind::Status, statusSlot_).text = text; });
}

void GuiScanSink::ShowScannedKey(const std::string& keyPath) {
  Queue([&] { Pending(Kind::Key, keySlot_).text = keyPath; });
}

void GuiScanSink::AddRow(const ProblemEntry& row) {
  Queue([&] { Pending(Kind::Rows, rowsSlot_).rows.push_back(row); });
}

void GuiScanSink::RunOnGuiThread(Kind kind) {
  uint64_t ticket = 0;
  Queue([&] {
    ticket = ++lastTicket_;
    QueueStep(kind, {}, ticket);
  });
  std::unique_lock lock(mutex_);
  handedOver_.wait(lock, [&] { return cancelled_ || deliveredTicket_ >= ticket; });
}

void GuiScanSink::CategoryStarted() { RunOnGuiThread(Kind::Started); }
void GuiScanSink::CategoryFinished() { RunOnGuiThread(Kind::Finished); }

void GuiScanSink::RunFinished() {
  Queue([&] { QueueStep(Kind::Close, {}, 0); });
}

void GuiScanSink::RunFailed(const std::string& message) {
  Queue([&] { QueueStep(Kind::Failed, message, 0); });
}

void GuiScanSink::Deliver() {
  std::vector<Event> batch;
  bool cancelled = false;
  {
    std::lock_guard lock(mutex_);
    batch.swap(queue_);
    statusSlot_ = keySlot_ = rowsSlot_ = kNone;
    wakePending_ = false;
    cancelled = cancelled_;
  }
  for (Event& event : batch) {
    switch (event.kind) {
      case Kind::Status: receiver_.ShowStatus(event.text); break;
      case Kind::Key: receiver_.ShowKey(event.text); break;
      case Kind::Rows: receiver_.AppendRows(event.rows); break;
      case Kind::Started:
      case Kind::Finished:
        if (cancelled) break;
        event.kind == Kind::Started ? receiver_.StartCategory() : receiver_.FinishCategory();
        {
          std::lock_guard lock(mutex_);
          deliveredTicket_ = event.ticket;
        }
        handedOver_.notify_all();
        break;
      case Kind::Close:
        if (!cancelled) receiver_.FinishRun();
        break;
      case Kind::Failed:
        if (!cancelled) receiver_.FailRun(event.text);
        break;
    }
  }
}

void GuiScanSink::Cancel() {
  {
    std::lock_guard lock(mutex_);
    cancelled_ = true;
  }
  handedOver_.notify_all();
}

}  // namespace quillet
