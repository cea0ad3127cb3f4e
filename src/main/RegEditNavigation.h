#pragma once

#include <string>
#include <string_view>

#include "scan/ProblemEntry.h"

// Opening a problem row's key in the system registry editor, which is driven through its windows
// with the key strokes a user would type.
namespace quillet {

class DesktopWindows;
class RegistryStore;

// The path the editor opens at: a value's key rather than the value, a subkey named in the
// value column, nothing for a file.
std::string RegEditPathOfRow(const ProblemEntry& row);
// "HKLM", "HKCU", "HKU", "HKCR", "HKCC" in any case become the long names; other text stays.
std::string ExpandShortRootName(std::string_view root);

enum class RegEditOpening {
  Opened,    // the editor was driven to the key (or had nothing to type)
  Nothing,   // a path without "\": nothing is done
  NotFound,  // no root, or neither the key nor the value exists: the user is told
};
// Finds the key, or the key and value, the path names and drives the editor there.
RegEditOpening OpenPathInRegEdit(RegistryStore& registry, DesktopWindows& desktop, std::string_view path);

// Climbs to the top of the editor's tree, walks down the key path one level per "\" with the
// tree's type-ahead search, and, given a value name, types it into the value list.
void NavigateRegEdit(DesktopWindows& desktop, std::string_view rootName, std::string_view keyPath,
                     std::string_view valueName);

}  // namespace quillet
