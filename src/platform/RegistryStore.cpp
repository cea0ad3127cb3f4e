#include "platform/RegistryStore.h"

#include "base/TextCompare.h"

namespace quillet {
namespace {

struct RootNames {
  RootKey root;
  const char* longName;
  const char* shortName;
};

constexpr RootNames kRootNames[] = {
    {RootKey::ClassesRoot, "HKEY_CLASSES_ROOT", "HKCR"},
    {RootKey::CurrentUser, "HKEY_CURRENT_USER", "HKCU"},
    {RootKey::LocalMachine, "HKEY_LOCAL_MACHINE", "HKLM"},
    {RootKey::Users, "HKEY_USERS", "HKU"},
    {RootKey::CurrentConfig, "HKEY_CURRENT_CONFIG", "HKCC"},
};

std::optional<RootKey> MatchRoot(std::string_view name, bool shortFormsToo) {
  const std::string upper = UpperCase(name);
  for (const RootNames& entry : kRootNames) {
    if (upper == entry.longName || (shortFormsToo && upper == entry.shortName)) return entry.root;
  }
  return std::nullopt;
}

std::string WithValueName(std::string_view pattern, std::string_view valueName) {
  std::string text(pattern);
  return text.replace(text.find("%s"), 2, valueName);
}

}  // namespace

std::optional<RootKey> ParseRootName(std::string_view name) { return MatchRoot(name, false); }

std::optional<RootKey> ParseRootNameOrShortForm(std::string_view name) { return MatchRoot(name, true); }

const char* RootName(RootKey root) {
  for (const RootNames& entry : kRootNames) {
    if (entry.root == root) return entry.longName;
  }
  return "";
}

ValueKind KindOfType(uint32_t rawType) {
  switch (rawType) {
    case regtype::kString: return ValueKind::String;
    case regtype::kExpandString: return ValueKind::ExpandString;
    case regtype::kDword: return ValueKind::Integer;
    case regtype::kBinary: return ValueKind::Binary;
    default: return ValueKind::Other;
  }
}

std::string InvalidDataTypeMessage(std::string_view valueName) {
  return WithValueName("Invalid data type for '%s'", valueName);
}

std::string FailedToGetDataMessage(std::string_view valueName) {
  return WithValueName("Failed to get data for '%s'", valueName);
}

}  // namespace quillet
