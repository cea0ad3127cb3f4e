#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "scan/ScanSink.h"

namespace quillet::testing {

// Records what a scan reported, in order, as readable lines ("started", "status:...",
// "key:...", "row:...", "finished", "close", "failed:...").
class RecordingSink : public ScanSink {
 public:
  void SetStatusText(const std::string& text) override { Record("status:" + text); }
  void ShowScannedKey(const std::string& keyPath) override { Record("key:" + keyPath); }
  void AddRow(const ProblemEntry& row) override {
    std::lock_guard lock(mutex_);
    rows_.push_back(row);
    events_.push_back("row:" + row.keyPath + "|" + row.value + "|" + std::to_string(static_cast<int>(row.action)));
  }
  void CategoryStarted() override { Record("started"); }
  void CategoryFinished() override { Record("finished"); }
  void RunFinished() override { Record("close"); }
  void RunFailed(const std::string& message) override { Record("failed:" + message); }

  std::vector<std::string> Events() const {
    std::lock_guard lock(mutex_);
    return events_;
  }
  std::vector<ProblemEntry> Rows() const {
    std::lock_guard lock(mutex_);
    return rows_;
  }
  // Only the events of one kind, e.g. Only("row:").
  std::vector<std::string> Only(const std::string& prefix) const {
    std::vector<std::string> picked;
    for (const std::string& event : Events()) {
      if (event.rfind(prefix, 0) == 0) picked.push_back(event);
    }
    return picked;
  }

 private:
  void Record(std::string event) {
    std::lock_guard lock(mutex_);
    events_.push_back(std::move(event));
  }

  mutable std::mutex mutex_;
  std::vector<std::string> events_;
  std::vector<ProblemEntry> rows_;
};

}  // namespace quillet::testing
