#pragma once

#include <string>
#include <thread>
#include <vector>

#include "scan/ScanContext.h"
#include "scan/ScanStop.h"
#include "scan/ScannerTable.h"

namespace quillet {

struct Platform;
class ScanSink;

// The worker that runs the scanners of the ticked categories, one after another. Making it
// fixes the flags (drive letters, WOW64, Windows version); the caller then fills in the codes,
// the sink and (when removable media count) the floppy readiness, and starts it.
class TScanTaskThread : public ScanFlags {
 public:
  explicit TScanTaskThread(const Platform& platform);
  ~TScanTaskThread();  // stops and joins a run still going
  TScanTaskThread(const TScanTaskThread&) = delete;
  TScanTaskThread& operator=(const TScanTaskThread&) = delete;

  std::vector<int> CategoryCodes;  // in run order
  ScanSink* Sink = nullptr;
  // Which scanner runs a code; tests put scanners of their own here.
  Scanner (*ScannerFor)(int code) = FindScanner;

  void Start();
  // Ends the run at the scan's next check (every open, enumeration, key line and row); returns
  // at once. Wait() afterwards to be sure the thread has let go of the sink.
  void Stop();
  void Wait();
  const StopFlag& GetStopFlag() const { return stop_; }

  // Valid after Wait().
  const ScanCounters& Counters() const { return counters_; }

  // Runs the categories on the calling thread; Start() runs this on the worker.
  void Run();

 private:
  const Platform& platform_;
  StopFlag stop_;
  ScanCounters counters_;
  std::thread thread_;
};

// "6" → 6; text that is not a number counts as 0.
int CategoryCodeFromText(const std::string& text);

}  // namespace quillet
