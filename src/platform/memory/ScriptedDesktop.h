#pragma once

#include <string>
#include <vector>

#include "platform/DesktopWindows.h"

namespace quillet {

// The desktop for host tests: one scripted program with a top-level window that holds a tree
// and a list. Every call is written to a readable log; characters sent in a row to one window
// are gathered in one entry ("chars tree HKEY_CURRENT_USER").
class ScriptedDesktop : public DesktopWindows {
 public:
  static constexpr WindowId kMain = 1;
  static constexpr WindowId kTree = 2;
  static constexpr WindowId kList = 3;

  // Builder. The program's window is open from the start.
  ScriptedDesktop& running(bool open = true);
  // After a start, the window shows only at the n-th search for it (1: at the first).
  ScriptedDesktop& appearsAtSearch(int n);
  // A start makes no window at all.
  ScriptedDesktop& neverAppears();
  // The shell cannot start the program.
  ScriptedDesktop& failStarts();

  const std::vector<std::string>& Log() const { return log_; }
  std::string Dump() const;

  WindowId FindTopLevelWindow(std::string_view className) override;
  WindowId FindChildWindow(WindowId parent, std::string_view className) override;
  bool StartProgram(std::string_view file, unsigned waitMs) override;
  void ShowMaximized(WindowId window) override;
  void SetForeground(WindowId window) override;
  void SendKeyDown(WindowId window, NavigationKey key) override;
  void SendChar(WindowId window, char16_t code) override;
  void Pause(unsigned milliseconds) override;

 private:
  void Add(std::string entry);

  bool open_ = false;
  bool started_ = false;
  bool failStarts_ = false;
  int appearsAt_ = 1;  // 0: never
  int searchesSinceStart_ = 0;
  std::vector<std::string> log_;
  bool typing_ = false;  // the last entry gathers characters
};

}  // namespace quillet
