#pragma once

#include <cstddef>
#include <functional>

#include "scan/ProblemEntry.h"
#include "scan/ProblemList.h"

// How the list commands read and tick the problem list's rows.
namespace quillet {

ProblemEntry ProblemRowAt(const TProblemList& list, size_t index);
// Gives every row the pick chooses this tick; the renderer hears of it once.
void TickProblemRows(TProblemList& list, const std::function<bool(const ProblemEntry&)>& pick, bool tick);

}  // namespace quillet
