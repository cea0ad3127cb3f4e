#include "main/ProblemListRows.h"

#include <optional>

namespace quillet {

ProblemEntry ProblemRowAt(const TProblemList& list, size_t index) { return list.Item(index); }

void TickProblemRows(TProblemList& list, const std::function<bool(const ProblemEntry&)>& pick, bool tick) {
  std::optional<size_t> last;
  for (size_t i = 0; i < list.Count(); ++i) {
    if (!pick(ProblemRowAt(list, i))) continue;
    list.SetCheckedFromUser(i, tick);
    last = i;
  }
  // Setting a tick the row already has changes nothing but repaints the list: once for all rows.
  if (last) list.SetChecked(*last, tick);
}

}  // namespace quillet
