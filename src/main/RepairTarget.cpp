#include "main/RepairTarget.h"

#include "settings/RegGlobal.h"

namespace quillet {

void TargetOfRowInto(std::string_view keyText, std::string_view valueText, RepairAction action,
                     RepairTarget& target) {
  const size_t slash = keyText.find('\\');
  target.split = slash != std::string_view::npos;
  target.root.clear();
  target.rest.clear();
  if (target.split) {
    target.root.assign(keyText.substr(0, slash));
    target.rest.assign(keyText.substr(slash + 1));
  }
  target.isFile = false;
  target.isValue = false;
  target.key.clear();
  target.value.clear();
  target.known = true;
  switch (action) {
    case RepairAction::DeleteKey: target.key.assign(keyText); break;
    case RepairAction::DeleteValueInPath: {
      const size_t last = target.rest.rfind('\\');
      target.isValue = true;
      if (last == std::string::npos) {
        target.key.assign(target.root).append(1, '\\');
        target.value.assign(target.rest);
      } else {
        target.key.assign(target.root).append(1, '\\').append(target.rest, 0, last);
        target.value.assign(target.rest, last + 1);
      }
      break;
    }
    case RepairAction::DeleteNamedValue:
      target.key.assign(keyText);
      target.isValue = true;
      target.value.assign(valueText);
      break;
    case RepairAction::DeleteNamedSubkey:
      target.key.assign(target.root).append(1, '\\');
      if (!target.rest.empty()) target.key.append(target.rest).append(1, '\\');
      target.key.append(valueText);
      break;
    case RepairAction::DeleteFile: target.isFile = true; break;
    case RepairAction::DeleteDefaultValue:
      target.key.assign(keyText);
      target.isValue = true;
      break;
    case RepairAction::DeleteRot13Value:
      target.key.assign(keyText);
      target.isValue = true;
      target.value = Rot13(valueText);
      break;
    default: target.known = false; break;
  }
}

RepairTarget TargetOfRow(std::string_view keyText, std::string_view valueText, RepairAction action) {
  RepairTarget target;
  TargetOfRowInto(keyText, valueText, action, target);
  return target;
}

std::string KeyPathBelowRoot(const RepairTarget& target) {
  return target.key.size() > target.root.size() ? target.key.substr(target.root.size() + 1) : std::string();
}

}  // namespace quillet
