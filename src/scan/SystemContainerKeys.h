#pragma once

#include <string_view>

#include "platform/RegistryStore.h"

// The system's own container keys: the roots, every key directly under a root (and under a user
// hive of HKEY_USERS), and the keys that hold the system's and every program's settings under
// "Software". They may be empty on a fresh system and yet are no leftover of any program: no scan
// reports them and the repair never deletes them, whatever row asks for it.
namespace quillet {

// keyPath is below the root, without a leading "\".
bool IsSystemContainerKey(RootKey root, std::string_view keyPath);
// The same for a full path that starts with a root's long name; false for any other text.
bool IsSystemContainerKeyPath(std::string_view fullPath);

}  // namespace quillet
