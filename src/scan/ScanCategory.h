#pragma once

#include <span>
#include <string>

namespace quillet {

// One node of the category tree. The code is the node's image number; codes ascend in tree order.
struct ScanCategory {
  int code;
  const char* caption;
  int parentCode;            // 0 for the root
  const char* statusKey;     // nullptr: the scanner leaves the status line alone
  const char* statusDefault;
  const char* problemKey;    // nullptr for the nodes that scan nothing
  const char* problemDefault;
};

std::span<const ScanCategory> ScanCategories();
const ScanCategory* FindScanCategory(int code);

// The status and problem texts of a category in the current language.
std::string CategoryStatusText(const ScanCategory& category);
std::string CategoryProblemText(const ScanCategory& category);

}  // namespace quillet
