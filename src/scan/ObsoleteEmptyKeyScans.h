#pragma once

#include <string>
#include <string_view>

namespace quillet {

class ScanContext;

void ScanObsoleteSoftware(ScanContext& context);  // code 14
void ScanEmptyKeys(ScanContext& context);         // code 23: all of HKEY_USERS

// Reports each empty subkey of "Software" under the root (a long root name, any case).
void ScanObsoleteSoftwareRoot(ScanContext& context, std::string_view rootName);
// Tests and walks the subkeys of parentPath (empty: the root itself).
void WalkEmptyKeys(ScanContext& context, std::string_view rootName, const std::string& parentPath);
// False for a key inside one of the protected areas.
bool MayReportEmptyKey(std::string_view keyPath);

}  // namespace quillet
