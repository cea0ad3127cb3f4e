#include "main/IgnoreListEntry.h"

#include <algorithm>

#include "settings/RegGlobal.h"
#include "base/TextCompare.h"

namespace quillet {

std::optional<IgnoreListEntry> IgnoreEntryOfRow(const ProblemEntry& row) {
  const std::string& key = row.keyPath;
  switch (row.action) {
    case RepairAction::DeleteKey:
    case RepairAction::DeleteDefaultValue: return IgnoreListEntry{false, key, true};
    case RepairAction::DeleteValueInPath: return IgnoreListEntry{false, key, false};
    case RepairAction::DeleteNamedValue: return IgnoreListEntry{false, key + "\\" + row.value, false};
    case RepairAction::DeleteNamedSubkey:
      return IgnoreListEntry{false, key.ends_with('\\') ? key + row.value : key + "\\" + row.value, true};
    case RepairAction::DeleteRot13Value: return IgnoreListEntry{false, key + "\\" + Rot13(row.value), false};
    case RepairAction::DeleteFile: return IgnoreListEntry{true, {}, false};
  }
  return std::nullopt;
}

bool IsInIgnoreList(const std::vector<std::string>& list, std::string_view entry) {
  return std::any_of(list.begin(), list.end(), [entry](const std::string& listed) { return SameText(listed, entry); });
}

}  // namespace quillet
