#pragma once

#include <string>

namespace quillet::ui {

// A main window of the program already running (found by its class name) is asked to come to
// the front; true when there was one.
bool HandOverToRunningInstance(const std::string& mainWindowClass);
// One line on the standard error stream, when there is one, and in the debug output.
void ReportStartFailure(const std::string& line);

}  // namespace quillet::ui
