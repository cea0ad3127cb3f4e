#pragma once

#include <string_view>

namespace quillet::ui {
class UiHost;
}

namespace quillet {

// Starts the command line as a hidden process and waits for it under the backup notice, whose
// Stop ends it. True exactly when the process ended by itself; false when the user stopped it
// or it could not be started (the user has been told then).
bool RunWithProgressNotice(ui::UiHost& host, std::string_view commandLine, std::string_view noticeText);

}  // namespace quillet
