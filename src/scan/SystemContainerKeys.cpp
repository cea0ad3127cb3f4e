#include "scan/SystemContainerKeys.h"

#include <vector>

#include "base/KeyPath.h"
#include "base/TextCompare.h"

namespace quillet {
namespace {

// Direct subkeys of "Software" (and of its 32-bit view "Software\Wow6432Node") that belong to
// the system.
constexpr const char* kSoftwareContainers[] = {
    "Classes",  "Clients",  "Microsoft", "ODBC", "Policies", "Registered Applications", "RegisteredApplications",
    "Wow6432Node",
};

bool IsSoftwareContainer(std::string_view name) {
  for (const char* container : kSoftwareContainers) {
    if (SameText(name, container)) return true;
  }
  return false;
}

}  // namespace

bool IsSystemContainerKey(RootKey root, std::string_view keyPath) {
  std::vector<std::string_view> parts = SplitKeyPath(keyPath);
  // A user's hive under HKEY_USERS is laid out like a root of its own.
  if (root == RootKey::Users && !parts.empty()) parts.erase(parts.begin());
  if (parts.size() <= 1) return true;
  if (!SameText(parts[0], "Software")) return false;
  if (parts.size() == 2) return IsSoftwareContainer(parts[1]);
  return parts.size() == 3 && SameText(parts[1], "Wow6432Node") && IsSoftwareContainer(parts[2]);
}

bool IsSystemContainerKeyPath(std::string_view fullPath) {
  const size_t separator = fullPath.find('\\');
  const std::optional<RootKey> root = ParseRootName(fullPath.substr(0, separator));
  if (!root) return false;
  return IsSystemContainerKey(*root, separator == std::string_view::npos ? std::string_view() : fullPath.substr(separator + 1));
}

}  // namespace quillet
