#include "main/ProblemListRows.h"

#include <optional>

namespace quillet {

ProblemEntry ProblemRowAt(const ui::TListView& list, size_t index) {
  const ui::TListItem& item = list.Item(index);
  ProblemEntry row;
  row.problem = item.caption;
  row.keyPath = list.Text(index, 1);
  row.value = list.Text(index, 2);
  row.action = static_cast<RepairAction>(item.data);
  row.checked = item.checked;
  return row;
}

void TickProblemRows(ui::TListView& list, const std::function<bool(const ProblemEntry&)>& pick, bool tick) {
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
