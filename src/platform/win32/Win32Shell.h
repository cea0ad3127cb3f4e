#pragma once

#include "platform/Shell.h"
#include "platform/win32/Win32.h"

// The shell through its W functions.
namespace quillet::win32 {

class Win32Shell : public Shell {
 public:
  // The window that owns the folder picker; without one, the active window of the calling thread.
  void SetOwnerWindow(HWND owner) { owner_ = owner; }

  std::optional<std::string> GetSpecialFolder(SpecialFolder folder) override;
  bool BrowseForFolder(std::string_view title, std::string& path) override;
  bool DeleteFileSilently(std::string_view path) override;
  bool OpenDocument(std::string_view target) override;
  std::string ResolveShortcutTarget(std::string_view shortcutPath) override;

 private:
  HWND owner_ = nullptr;
};

}  // namespace quillet::win32
