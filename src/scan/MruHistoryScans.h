#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace quillet {

class ScanContext;

// Code 20: the file dialogs' recent-file lists and the user-assist run counters.
void ScanMruLists(ScanContext& context);

// The run count of a user-assist record (bytes 4 to 7, little-endian); none for a record shorter
// than 8 bytes.
std::optional<uint32_t> UserAssistRunCount(std::string_view record);

}  // namespace quillet
