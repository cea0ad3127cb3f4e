#pragma once

#include <string>
#include <vector>

namespace quillet::ui {

// Runs the program's windows until the main window closes; returns the process exit code.
int RunApplication(const std::vector<std::string>& arguments);

}  // namespace quillet::ui
