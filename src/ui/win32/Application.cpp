#include "ui/win32/Application.h"

#include "platform/win32/Win32.h"

#include "base/WindowMessages.h"
#include "platform/win32/WideString.h"

namespace quillet::ui {

bool HandOverToRunningInstance(const std::string& mainWindowClass) {
  HWND running = ::FindWindowW(quillet::win32::ToWide(mainWindowClass).c_str(), nullptr);
  if (!running) return false;
  ::PostMessageW(running, UM_ACTIVATE_INSTANCE, 0, 0);
  ::SetForegroundWindow(running);
  return true;
}

void ReportStartFailure(const std::string& line) {
  const HANDLE errors = ::GetStdHandle(STD_ERROR_HANDLE);
  if (errors && errors != INVALID_HANDLE_VALUE) {
    DWORD written = 0;
    ::WriteFile(errors, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  }
  ::OutputDebugStringW(quillet::win32::ToWide(line).c_str());
}

}  // namespace quillet::ui
