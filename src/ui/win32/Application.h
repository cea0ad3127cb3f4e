#pragma once

#include <string>
#include <vector>

namespace quillet::ui {

// A main window of the program already running (found by its class name) is asked to come to
// the front; true when there was one.
bool HandOverToRunningInstance();

// Runs the program's windows until the main window closes; returns the process exit code.
// The arguments are the command line without the program's name.
int RunApplication(const std::vector<std::string>& arguments);

}  // namespace quillet::ui
