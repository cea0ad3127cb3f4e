#pragma once

#include "platform/DesktopWindows.h"

// Other programs' windows through the user and shell functions.
namespace quillet::win32 {

class Win32DesktopWindows : public DesktopWindows {
 public:
  WindowId FindTopLevelWindow(std::string_view className) override;
  WindowId FindChildWindow(WindowId parent, std::string_view className) override;
  bool StartProgram(std::string_view file, unsigned waitMs) override;
  void ShowMaximized(WindowId window) override;
  void SetForeground(WindowId window) override;
  void SendKeyDown(WindowId window, NavigationKey key) override;
  void SendChar(WindowId window, char16_t code) override;
  void Pause(unsigned milliseconds) override;
};

}  // namespace quillet::win32
