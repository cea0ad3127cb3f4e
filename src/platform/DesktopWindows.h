#pragma once

#include <cstdint>
#include <string_view>

// Other programs' top-level windows, driven as a user would: found by class, brought forward,
// and sent key strokes and characters. The program drives the system registry editor with it.
namespace quillet {

// A window of any process; 0 is none.
using WindowId = uintptr_t;

enum class NavigationKey { Left, Right, Down };

class DesktopWindows {
 public:
  virtual ~DesktopWindows() = default;
  // The first top-level window of the class; 0 when there is none.
  virtual WindowId FindTopLevelWindow(std::string_view className) = 0;
  // The first window of the class anywhere below the parent; 0 when there is none.
  virtual WindowId FindChildWindow(WindowId parent, std::string_view className) = 0;
  // Starts the program through the shell (verb "open", normal show) and waits until it is
  // ready for input, at most waitMs. False when the shell could not start it.
  virtual bool StartProgram(std::string_view file, unsigned waitMs) = 0;
  virtual void ShowMaximized(WindowId window) = 0;
  virtual void SetForeground(WindowId window) = 0;
  // A key-down message, sent (the call returns once the window has handled it).
  virtual void SendKeyDown(WindowId window, NavigationKey key) = 0;
  // A character message with this UTF-16 code unit, sent.
  virtual void SendChar(WindowId window, char16_t code) = 0;
  virtual void Pause(unsigned milliseconds) = 0;
};

}  // namespace quillet
