#pragma once

#include <string>

namespace quillet {

// What the repair deletes for a row.
enum class RepairAction : int {
  DeleteKey = 0,             // the key in the key path, with all its subkeys
  DeleteValueInPath = 1,     // the key path ends with a value name (after the last "\")
  DeleteNamedValue = 2,      // the value named in the value column, from the key in the key path
  DeleteNamedSubkey = 3,     // the subkey named in the value column, with all its subkeys
  DeleteFile = 4,            // the file named in the key path
  DeleteDefaultValue = 5,    // the default value of the key in the key path
  DeleteRot13Value = 6,      // the value whose name is Rot13 of the value column
};

// One row of the problem list.
struct ProblemEntry {
  std::string problem;  // the category's problem text
  std::string keyPath;  // full key path from the long root name, or a file path for DeleteFile
  std::string value;    // meaning depends on the action; may be empty
  RepairAction action = RepairAction::DeleteKey;
  bool checked = false;   // the row's tick in the list; rows are added unticked
  bool selected = false;  // the row's selection in the list
  std::string reason;     // why the scanner flagged it, in the language of the scan

  // The reason explains a row to the user; it takes no part in what the row repairs.
  bool operator==(const ProblemEntry& other) const {
    return problem == other.problem && keyPath == other.keyPath && value == other.value && action == other.action &&
           checked == other.checked && selected == other.selected;
  }
};

}  // namespace quillet
