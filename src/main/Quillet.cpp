// Process entry of quillet.exe. MinGW's -municode start-up calls wmain in GUI programs too,
// so the entry needs nothing from windows.h.
#include <string>
#include <vector>

#include "base/AppIdentity.h"
#include "main/RegMain.h"
#include "platform/Platform.h"
#include "platform/win32/WideString.h"
#include "platform/win32/Win32Platform.h"
#include "ui/win32/Application.h"
#include "ui/win32/FormWindow.h"
#include "ui/win32/Win32UiHost.h"

int wmain(int argc, wchar_t** argv) {
  // One program at a time: a second start brings the first one forward and ends at once.
  if (quillet::ui::HandOverToRunningInstance(quillet::kMainWindowClass)) return 0;
  std::vector<std::string> arguments;
  for (int i = 1; i < argc; ++i) arguments.push_back(quillet::win32::ToUtf8(argv[i]));

  quillet::win32::Win32Platform platform;
  quillet::ScopedPlatform installed(platform.Services());
  quillet::ui::win32::Win32UiHost host;
  quillet::TfrmQuillet mainWindow(host, arguments);
  try {
    return host.Run(mainWindow);
  } catch (const quillet::ui::win32::WindowNotCreated& error) {
    // Without its window the program could only wait for messages that never come.
    quillet::ui::ReportStartFailure(std::string("quillet: ") + error.what() + "\n");
    return 1;
  }
}
