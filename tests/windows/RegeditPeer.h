#pragma once

#include <gtest/gtest.h>

#include <string>

// Wine's registry editor as the peer of the program's .reg files.
namespace quillet::testing {

// Runs "regedit /s file" and waits for it to end.
::testing::AssertionResult ImportWithRegedit(const std::wstring& file);

// Runs "regedit /e file key" and returns the file's bytes ("<regedit did not start>" when it
// did not).
std::string ExportWithRegedit(const std::wstring& key, const std::wstring& file);

// Wine lists values sorted by name where Windows keeps their creation order, so each key's
// value lines of a DumpRegistryTree are put in sorted order; keys and their order stay.
std::string WithSortedValues(const std::string& dump);

}  // namespace quillet::testing
