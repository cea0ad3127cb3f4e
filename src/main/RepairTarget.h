#pragma once

#include <string>
#include <string_view>

#include "scan/ProblemEntry.h"

// What a problem row stands for in the registry: the key path K (root included) and the value
// name V that the filter compares and the repair deletes, by the row's repair action.
namespace quillet {

struct RepairTarget {
  bool split = false;  // the key text holds a "\"; a row without one is never split
  std::string root;    // the key text before its first "\"
  std::string rest;    // the key text after it
  bool isFile = false;  // the row names a file (no K, no V)
  bool isValue = false;  // the row stands for a value of K rather than for the whole key K
  std::string key;      // K
  std::string value;    // V when isValue; "" is the default value
  bool known = true;    // the action is one of the seven the program knows
};

RepairTarget TargetOfRow(std::string_view keyText, std::string_view valueText, RepairAction action);
// The same into a target kept from row to row, so that its texts keep their room (the filter
// looks at every row of a long list).
void TargetOfRowInto(std::string_view keyText, std::string_view valueText, RepairAction action,
                     RepairTarget& target);
// K without its leading root name and "\": the path the registry calls take.
std::string KeyPathBelowRoot(const RepairTarget& target);

}  // namespace quillet
