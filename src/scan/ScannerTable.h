#pragma once

namespace quillet {

class ScanContext;

using Scanner = void (*)(ScanContext& context);

// The scanner of a category code; nullptr for the codes that scan nothing (1, 2 and codes
// whose scanner is not there).
Scanner FindScanner(int code);

}  // namespace quillet
