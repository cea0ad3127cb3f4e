#pragma once

#include <atomic>

namespace quillet {

// Thrown where a scan checks for a stop. Deliberately not a std::exception, so the error
// guards of single scanners (which catch registry read errors) never swallow a stop.
struct ScanStopped {};

// The stop flag of one run, checked by the scan context and by the cursors it hands out.
class StopFlag {
 public:
  void Request() { requested_.store(true, std::memory_order_relaxed); }
  bool IsRequested() const { return requested_.load(std::memory_order_relaxed); }
  void ThrowIfRequested() const {
    if (IsRequested()) throw ScanStopped{};
  }

 private:
  std::atomic<bool> requested_{false};
};

}  // namespace quillet
