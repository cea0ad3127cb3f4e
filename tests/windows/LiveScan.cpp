#include "LiveScan.h"

#include <gtest/gtest.h>

#include "../host/RecordingSink.h"
#include "platform/Platform.h"
#include "platform/win32/Win32Platform.h"
#include "scan/ScanTask.h"
#include "settings/OptionsSetting.h"

namespace quillet::testing {
namespace {

enum class ScanThread { Caller, Own };

void ScanLive(std::vector<std::string> codes, LiveScanSettings settings, ScanThread thread, RecordingSink& sink) {
  win32::Win32Platform platform(settings.reads);
  ScopedPlatform installed(platform.Services());
  OptionsSetting = TOptionsSetting();

  TScanTaskThread task(CurrentPlatform());
  for (const std::string& code : codes) task.CategoryCodes.push_back(CategoryCodeFromText(code));
  task.Sink = &sink;
  task.CacheProbes = settings.cacheProbes;
  if (thread == ScanThread::Own) {
    task.Start();
    task.Wait();
  } else {
    task.Run();
  }
}

}  // namespace

LiveScanResult RunLiveScan(std::vector<std::string> codes, LiveScanSettings settings) {
  RecordingSink sink;
  ScanLive(std::move(codes), settings, ScanThread::Caller, sink);
  return {sink.Rows(), sink.Events()};
}

std::vector<std::string> LiveScanRows(std::vector<std::string> codes, const std::string& marker) {
  RecordingSink sink;
  ScanLive(std::move(codes), {}, ScanThread::Own, sink);
  EXPECT_EQ(sink.Only("close").size(), 1u) << "the scan did not run to its end";
  std::vector<std::string> rows;
  for (const std::string& row : sink.Only("row:")) {
    if (row.find(marker) != std::string::npos) rows.push_back(row);
  }
  return rows;
}

}  // namespace quillet::testing
