#include "ui/win32/Application.h"

#include "platform/win32/Win32.h"

#include "main/AppIdentity.h"
#include "main/RegMain.h"
#include "main/WindowMessages.h"
#include "platform/Platform.h"
#include "platform/win32/WideString.h"
#include "platform/win32/Win32Platform.h"
#include "ui/win32/FormWindow.h"
#include "ui/win32/Win32UiHost.h"

namespace quillet::ui {

namespace {

// One line on the standard error stream, when there is one, and in the debug output.
void ReportStartFailure(const std::string& line) {
  const HANDLE errors = ::GetStdHandle(STD_ERROR_HANDLE);
  if (errors && errors != INVALID_HANDLE_VALUE) {
    DWORD written = 0;
    ::WriteFile(errors, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  }
  ::OutputDebugStringW(quillet::win32::ToWide(line).c_str());
}

}  // namespace

bool HandOverToRunningInstance() {
  HWND running = ::FindWindowW(quillet::win32::ToWide(kMainWindowClass).c_str(), nullptr);
  if (!running) return false;
  ::PostMessageW(running, UM_ACTIVATE_INSTANCE, 0, 0);
  ::SetForegroundWindow(running);
  return true;
}

int RunApplication(const std::vector<std::string>& arguments) {
  quillet::win32::Win32Platform platform;
  ScopedPlatform installed(platform.Services());

  ui::win32::Win32UiHost host;
  TfrmQuillet mainWindow(host, arguments);
  try {
    return host.Run(mainWindow);
  } catch (const ui::win32::WindowNotCreated& error) {
    // Without its window the program could only wait for messages that never come.
    ReportStartFailure(std::string("quillet: ") + error.what() + "\n");
    return 1;
  }
}

}  // namespace quillet::ui
