#pragma once

#include <string>

#include "scan/ProblemEntry.h"

namespace quillet {

// Where a scan reports to. The scan thread calls it in order; an implementation carries each
// call to the windows (the Win32 one marshals to the GUI thread; host tests record them).
class ScanSink {
 public:
  virtual ~ScanSink() = default;
  virtual void SetStatusText(const std::string& text) = 0;  // the dialog's status line
  virtual void ShowScannedKey(const std::string& keyPath) = 0;  // the dialog's key line
  virtual void AddRow(const ProblemEntry& row) = 0;
  // Run on the GUI thread while the scan thread waits: bar to 0 and timer on, then timer off,
  // bar to its maximum and the main window's counts refreshed.
  virtual void CategoryStarted() = 0;
  virtual void CategoryFinished() = 0;
  // The close request after the last category. Not sent when a scanner error or a stop ends the run.
  virtual void RunFinished() = 0;
  // A scanner error ended the run (no close request follows); the message is the error's text.
  virtual void RunFailed(const std::string& message) {}
};

}  // namespace quillet
