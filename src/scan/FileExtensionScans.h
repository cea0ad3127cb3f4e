#pragma once

#include <string>
#include <string_view>

namespace quillet {

class ScanContext;

void ScanFileExtensions(ScanContext& context);  // code 12: empty class and extension keys
void ScanCustomControls(ScanContext& context);  // code 13: class servers and interfaces

// Visits path + name and every key below it, reporting each key whose default value names a
// missing file. The two are joined as they stand.
void ClassIdWalk(ScanContext& context, std::string_view rootName, const std::string& path, const std::string& name);
// Reports interfaces whose type library is not registered.
void InterfaceScan(ScanContext& context);

}  // namespace quillet
