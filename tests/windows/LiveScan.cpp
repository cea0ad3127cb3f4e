#include "LiveScan.h"

#include <gtest/gtest.h>

#include "../host/RecordingSink.h"
#include "platform/Platform.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32Shell.h"
#include "platform/win32/Win32SystemInfo.h"
#include "scan/ScanTask.h"
#include "settings/OptionsSetting.h"

namespace quillet::testing {

std::vector<std::string> LiveScanRows(std::vector<std::string> codes, const std::string& marker) {
  win32::Win32Registry registry;
  win32::Win32FileSystem files;
  win32::Win32Shell shell;
  win32::Win32SystemInfo system;
  Platform platform;
  platform.registry = &registry;
  platform.files = &files;
  platform.shell = &shell;
  platform.system = &system;
  ScopedPlatform installed(platform);
  OptionsSetting = TOptionsSetting();

  RecordingSink sink;
  TScanTaskThread task(CurrentPlatform());
  task.CategoryCodes = std::move(codes);
  task.Sink = &sink;
  task.Start();
  task.Wait();
  EXPECT_EQ(sink.Only("close").size(), 1u) << "the scan did not run to its end";
  std::vector<std::string> rows;
  for (const std::string& row : sink.Only("row:")) {
    if (row.find(marker) != std::string::npos) rows.push_back(row);
  }
  return rows;
}

}  // namespace quillet::testing
