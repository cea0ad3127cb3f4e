#include "main/RepairTarget.h"

#include "settings/RegGlobal.h"

namespace quillet {

RepairTarget TargetOfRow(std::string_view keyText, std::string_view valueText, RepairAction action) {
  RepairTarget target;
  const size_t slash = keyText.find('\\');
  target.split = slash != std::string_view::npos;
  if (target.split) {
    target.root = std::string(keyText.substr(0, slash));
    target.rest = std::string(keyText.substr(slash + 1));
  }
  switch (action) {
    case RepairAction::DeleteKey: target.key = keyText; break;
    case RepairAction::DeleteValueInPath: {
      const size_t last = target.rest.rfind('\\');
      target.isValue = true;
      if (last == std::string::npos) {
        target.key = target.root + "\\";
        target.value = target.rest;
      } else {
        target.key = target.root + "\\" + target.rest.substr(0, last);
        target.value = target.rest.substr(last + 1);
      }
      break;
    }
    case RepairAction::DeleteNamedValue:
      target.key = keyText;
      target.isValue = true;
      target.value = std::string(valueText);
      break;
    case RepairAction::DeleteNamedSubkey:
      target.key = target.rest.empty() ? target.root + "\\" + std::string(valueText)
                                       : target.root + "\\" + target.rest + "\\" + std::string(valueText);
      break;
    case RepairAction::DeleteFile: target.isFile = true; break;
    case RepairAction::DeleteDefaultValue:
      target.key = keyText;
      target.isValue = true;
      break;
    case RepairAction::DeleteRot13Value:
      target.key = keyText;
      target.isValue = true;
      target.value = Rot13(valueText);
      break;
    default: target.known = false; break;
  }
  return target;
}

std::string KeyPathBelowRoot(const RepairTarget& target) {
  return target.key.size() > target.root.size() ? target.key.substr(target.root.size() + 1) : std::string();
}

}  // namespace quillet
