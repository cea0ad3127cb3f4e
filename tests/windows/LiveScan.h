#pragma once

#include <string>
#include <vector>

#include "platform/win32/Win32Registry.h"
#include "scan/ProblemEntry.h"

namespace quillet::testing {

// What a scan reported: its rows, and every event as RecordingSink writes it.
struct LiveScanResult {
  std::vector<ProblemEntry> rows;
  std::vector<std::string> events;
};

struct LiveScanSettings {
  win32::ValueReads reads = win32::ValueReads::OncePerOpen;
  bool cacheProbes = true;
};

// Runs a real scan of the codes on the calling thread over Wine's registry, file system and
// shell, with the settings of a first start.
LiveScanResult RunLiveScan(std::vector<std::string> codes, LiveScanSettings settings = {});

// Runs the scan on its own thread, as the window does, and returns the rows that hold the
// marker, as RecordingSink writes them ("row:KEY|VALUE|ACTION"). Fails the test when the run
// does not end with its close request.
std::vector<std::string> LiveScanRows(std::vector<std::string> codes, const std::string& marker);

}  // namespace quillet::testing
