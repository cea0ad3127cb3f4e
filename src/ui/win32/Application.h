#pragma once

#include <string>
#include <vector>

namespace quillet::ui {

// A program already running gets the request to come to the front; true when there was one.
bool HandOverToRunningInstance();

// Runs the program's windows until the main window closes; returns the process exit code.
int RunApplication(const std::vector<std::string>& arguments);

}  // namespace quillet::ui
