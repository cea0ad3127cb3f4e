#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "scan/ProblemEntry.h"

// What "Add to Ignore Lists" keeps of a problem row, in the forms the filter after a scan reads.
namespace quillet {

struct IgnoreListEntry {
  bool none = false;    // a file row: it leaves the list without an entry
  std::string text;     // the full key path, or the key path and the value name
  bool inKeys = false;  // IgnoreKeys, else IgnoreValues
};

// The entry for a row whose key text holds a "\"; nothing for an action the program does not know.
std::optional<IgnoreListEntry> IgnoreEntryOfRow(const ProblemEntry& row);
// The entry equals one of the list's entries, ignoring case.
bool IsInIgnoreList(const std::vector<std::string>& list, std::string_view entry);

}  // namespace quillet
