// How long the problem list takes to be ready after a scan that found 100,000 problems.
//
// The real main window runs on the real renderer; a scanner of this program's own adds the rows
// through the real hand-over to the GUI thread. Reported, in milliseconds:
//   scan      from the first row to the last one added on the scan thread
//   ready     from the last row added to the scan command's end (every row in the list,
//             ticked, counts in the status bar)
//   painted   from the last row added to the list window painted with its rows
//   scrolled  scrolling to the last row and painting it
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "base/AppIdentity.h"
#include "main/RegMain.h"
#include "platform/Platform.h"
#include "platform/win32/WideString.h"
#include "platform/win32/Win32.h"
#include "platform/win32/Win32Platform.h"
#include "scan/ScanContext.h"
#include "scan/ScanTask.h"
#include "ui/win32/Win32UiHost.h"

#include <commctrl.h>

namespace {

using Clock = std::chrono::steady_clock;

int gRows = 100000;
Clock::time_point gFirstRow;
Clock::time_point gLastRow;

void AddManyRows(quillet::ScanContext& context) {
  gFirstRow = Clock::now();
  for (int i = 0; i < gRows; ++i) {
    const std::string id = std::to_string(100000000 + i);
    const std::string key = "Software\\Classes\\CLSID\\{" + id + "-3F2A-4C1D-9B7E-0A1B2C3D4E5F}\\InprocServer32";
    context.ShowScannedKey(key);
    context.AddRow("HKEY_LOCAL_MACHINE\\" + key, "C:\\Program Files\\Vendor\\Library" + id + ".dll",
                   quillet::RepairAction::DeleteKey);
  }
  gLastRow = Clock::now();
}

quillet::Scanner OnlyManyRows(int code) { return code == 6 ? AddManyRows : nullptr; }

double Milliseconds(Clock::time_point from, Clock::time_point to) {
  return std::chrono::duration<double, std::milli>(to - from).count();
}

constexpr unsigned kRunBenchmark = 0x7F00;

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1) gRows = std::atoi(argv[1]);
  quillet::win32::Win32Platform platform;
  quillet::ScopedPlatform installed(platform.Services());

  quillet::ui::win32::Win32UiHost host;
  quillet::TfrmQuillet window(host, {});
  window.PrepareScan = [](quillet::TScanTaskThread& thread) { thread.ScannerFor = OnlyManyRows; };
  int status = 1;
  window.OnMessage(kRunBenchmark, [&](uintptr_t, intptr_t) {
    window.WalkCategoryTree(window.tvRegistry->First(), quillet::TfrmQuillet::TreeWalk::Tick1);
    window.tvRegistry->NodeAt(5)->SetStateIndex(2);  // Software Locations, code 6
    window.bScanRegistryClick();
    const Clock::time_point ready = Clock::now();

    HWND main = ::FindWindowW(quillet::win32::ToWide(quillet::kMainWindowClass).c_str(), nullptr);
    HWND list = ::FindWindowExW(main, nullptr, WC_LISTVIEWW, nullptr);
    ::RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    const Clock::time_point painted = Clock::now();
    const int shown = ListView_GetItemCount(list);

    const Clock::time_point scrollStart = Clock::now();
    ListView_EnsureVisible(list, shown - 1, FALSE);
    ::UpdateWindow(list);
    const Clock::time_point scrolled = Clock::now();

    std::printf("rows      %d (list shows %d, %zu ticked)\n", gRows, shown, window.lvRegistryData->CheckedCount());
    std::printf("status    %s |%s\n", window.StatusBar1->PanelText(0).c_str(), window.StatusBar1->PanelText(1).c_str());
    std::printf("scan      %8.1f ms\n", Milliseconds(gFirstRow, gLastRow));
    std::printf("ready     %8.1f ms after the last row\n", Milliseconds(gLastRow, ready));
    std::printf("painted   %8.1f ms after the last row\n", Milliseconds(gLastRow, painted));
    std::printf("scrolled  %8.1f ms to the last row\n", Milliseconds(scrollStart, scrolled));
    std::fflush(stdout);
    status = shown == gRows ? 0 : 2;
    window.Close();
  });
  // Once the window is on screen and its own start-up messages are through.
  auto show = window.OnShow;
  window.OnShow = [&, show] {
    show();
    host.PostMessage(window, kRunBenchmark);
  };
  host.Run(window);
  return status;
}
