#include "ui/win32/Application.h"

#include "platform/win32/Win32.h"

#include "main/AppIdentity.h"
#include "main/RegMain.h"
#include "main/WindowMessages.h"
#include "platform/Platform.h"
#include "platform/win32/WideString.h"
#include "platform/win32/Win32AnsiCodePage.h"
#include "platform/win32/Win32Clock.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Processes.h"
#include "platform/win32/Win32Profile.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32Shell.h"
#include "platform/win32/Win32SystemInfo.h"
#include "platform/win32/Win32SystemRestore.h"
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
  quillet::win32::Win32Registry registry;
  quillet::win32::Win32FileSystem files;
  quillet::win32::Win32Profile profile;
  quillet::win32::Win32Shell shell;
  quillet::win32::Win32SystemInfo system;
  quillet::win32::Win32AnsiCodePage ansi;
  quillet::win32::Win32Clock clock;
  quillet::win32::Win32Processes processes;
  // A restore point request may still be in flight when the window is gone (its dialog was
  // closed early), so the client lives as long as the process.
  static auto* restore = new quillet::win32::Win32SystemRestore;
  Platform platform;
  platform.registry = &registry;
  platform.files = &files;
  platform.profile = &profile;
  platform.shell = &shell;
  platform.system = &system;
  platform.ansi = &ansi;
  platform.clock = &clock;
  platform.restore = restore;
  platform.processes = &processes;
  ScopedPlatform installed(platform);

  ui::win32::Win32UiHost host;
  TfrmQuillet mainWindow(host, arguments);
  return host.Run(mainWindow);
}

}  // namespace quillet::ui
