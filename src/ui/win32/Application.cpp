#include "ui/win32/Application.h"

#include "platform/win32/Win32.h"

#include "main/AppIdentity.h"
#include "main/RegMain.h"
#include "main/WindowMessages.h"
#include "platform/Platform.h"
#include "platform/win32/WideString.h"
#include "platform/win32/Win32Platform.h"
#include "ui/win32/Win32UiHost.h"

namespace quillet::ui {

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
  return host.Run(mainWindow);
}

}  // namespace quillet::ui
