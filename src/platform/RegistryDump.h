#pragma once

#include <string>
#include <string_view>

#include "platform/RegistryStore.h"

// A readable, exact text form of registry content, for test failures and for comparing two
// stores (the in-memory tree against the real registry after a round trip).
namespace quillet {

// One value as `"Name" = REG_SZ "text"` (`@` for the default value). Strings and lists are shown
// as text only when the bytes are exactly what that text stores; anything else is shown as hex,
// so two values print the same exactly when type and bytes are the same.
std::string FormatRegistryValue(const RegistryValue& value);
const char* RegistryTypeName(uint32_t type);  // "REG_SZ"...; "" for a type without a name

// The key at path (from the root) and everything below it, read through a read-only cursor:
// "[.]" then its values in store order, then "[.\Sub]" and so on depth first in store order.
// Empty when the key does not open.
std::string DumpRegistryTree(RegistryStore& store, RootKey root, std::string_view path);

}  // namespace quillet
