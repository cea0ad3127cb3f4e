#pragma once

namespace quillet {

class ScanContext;

using Scanner = void (*)(ScanContext& context);

// The scanner of a category code; nullptr for the codes that scan nothing (1, 2 and codes
// outside the tree).
Scanner FindScanner(int code);

}  // namespace quillet
