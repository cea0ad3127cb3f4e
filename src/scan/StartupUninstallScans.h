#pragma once

#include <string_view>

namespace quillet {

class ScanContext;

void ScanStartupPrograms(ScanContext& context);  // code 10: run lists and the startup backup key
void ScanUninstallEntries(ScanContext& context);  // code 11

// Tests the string values of one key; rootName is a long root name, anything else does nothing.
void ValueListScan(ScanContext& context, std::string_view rootName, std::string_view keyPath);

}  // namespace quillet
