#pragma once

#include <cstddef>
#include <functional>

#include "scan/ProblemEntry.h"
#include "ui/ListView.h"

// How the list commands read and tick the problem list's rows: the one place that knows how a
// ProblemEntry is laid out in the list view.
namespace quillet {

ProblemEntry ProblemRowAt(const ui::TListView& list, size_t index);
// Gives every row the pick chooses this tick; the renderer hears of it once.
void TickProblemRows(ui::TListView& list, const std::function<bool(const ProblemEntry&)>& pick, bool tick);

}  // namespace quillet
