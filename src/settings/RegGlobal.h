#pragma once

#include <string>

// Declarations the scan code builds against; the shared routines themselves arrive with the
// settings work.
namespace quillet {

std::string GetLangText(const std::string& key, const std::string& englishText);
bool IsWow64();
int GetWindowsVersion();

}  // namespace quillet
