#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quillet {

// The names of a registry key path, in order. Empty parts (doubled or trailing separators) name
// no key, as the system reads such paths, and are skipped.
std::vector<std::string_view> SplitKeyPath(std::string_view path);

// The path of a subkey below a key's path: "parent\\child", or the one that is not empty.
std::string JoinKeyPath(std::string_view parent, std::string_view child);

}  // namespace quillet
