#pragma once

#include <string>

// Where the Windows test executable finds the other binaries of its build.
namespace quillet::testing {

std::wstring BuildFolder();  // folder of the running test executable, with a trailing backslash
std::wstring QuilletExePath();

}  // namespace quillet::testing
