#pragma once

#include <string_view>
#include <vector>

namespace quillet {

// The names of a registry key path, in order. Empty parts (doubled or trailing separators) name
// no key, as the system reads such paths, and are skipped.
std::vector<std::string_view> SplitKeyPath(std::string_view path);

}  // namespace quillet
