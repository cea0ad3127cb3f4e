#pragma once

#include <string>
#include <vector>

namespace quillet::testing {

// Runs a real scan of the codes over Wine's registry and file system and returns the rows that
// hold the marker, as RecordingSink writes them ("row:KEY|VALUE|ACTION"). Fails the test when
// the run does not end with its close request.
std::vector<std::string> LiveScanRows(std::vector<std::string> codes, const std::string& marker);

}  // namespace quillet::testing
