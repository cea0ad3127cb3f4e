#pragma once

#include <string>
#include <vector>

namespace quillet::win32 {

// The program's arguments after its name, as UTF-8, from the wide command line.
std::vector<std::string> ToolArguments();

}  // namespace quillet::win32
