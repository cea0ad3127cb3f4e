#pragma once

#include <string>
#include <string_view>

namespace quillet {

class ScanContext;

// Codes 3, 4 and 5: the whole tree of one root (HKEY_LOCAL_MACHINE from "Software"), chosen by
// the current category.
void ScanFilesAndFolders(ScanContext& context);

// Tests every string value of keyPath and of everything below it with IsBrokenReference (keyName
// handed on). The skip lists of categories 3 and 4 apply only when category is 3 or 4, so other
// scans may walk their own keys with their own code. Rows take the current category's problem text.
void WalkFileReferences(ScanContext& context, int category, std::string_view rootName, const std::string& keyPath,
                        std::string_view keyName);

}  // namespace quillet
