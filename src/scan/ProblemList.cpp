#include "scan/ProblemList.h"

namespace quillet {

const std::string& ListColumnText(const ProblemEntry& row, size_t column) {
  static const std::string kNoText;
  switch (column) {
    case 0: return row.problem;
    case 1: return row.keyPath;
    case 2: return row.value;
    default: return kNoText;
  }
}

}  // namespace quillet
