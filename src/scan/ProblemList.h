#pragma once

#include <cstddef>
#include <string>

#include "scan/ProblemEntry.h"
#include "ui/ListView.h"

namespace quillet {

// The problem list's columns: the problem, the key path, the value.
const std::string& ListColumnText(const ProblemEntry& row, size_t column);

// The list of findings: it holds the scanners' rows as they are, from the scan to the repair.
using TProblemList = ui::TListViewOf<ProblemEntry>;

}  // namespace quillet
