#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "main/RepairTarget.h"
#include "scan/ProblemEntry.h"

// The tests of the post-scan filter, one per pass. Each looks at one row: its key text, value
// text and repair action. All comparisons ignore case.
namespace quillet {

// Pass 1: the fixed patterns (two class identifiers, "%USERNAME%_", "?" with a drive or a
// folder variable) that mark rows never to offer.
bool MatchesFixedPattern(std::string_view keyText, std::string_view valueText);

// Pass 2: the row equals a pair the repairs of this run left undone.
bool IsUnrepaired(std::string_view keyText, std::string_view valueText, const std::vector<std::string>& unrepairedKeys,
                  const std::vector<std::string>& unrepairedValues);

// The safe list of pass 3: the always-safe keys, the user's ignored keys, and on Windows Vista
// to 8 (versions 11 to 13) the keys safe there.
std::vector<std::string> BuildSafeList(const std::vector<std::string>& safeKeysAlways,
                                       const std::vector<std::string>& ignoreKeys,
                                       const std::vector<std::string>& safeKeysVistaTo8, int windowsVersion);

// Pass 3: an ignored value, or a safe key, covers the row's target. The lists are upper-cased
// once here, so a long problem list costs one upper-casing per row. One thread uses an object.
class IgnoreAndSafeLists {
 public:
  IgnoreAndSafeLists(const std::vector<std::string>& ignoreValues, const std::vector<std::string>& safeList);
  bool Covers(std::string_view keyText, std::string_view valueText, RepairAction action) const;

 private:
  std::vector<std::string> ignoreValues_;  // upper-cased
  std::vector<std::string> safeKeys_;      // upper-cased, each ending with "\"
  // The distinct first parts of the safe keys, up to and with their first "\", and the part of
  // each safe key: a key text without a part holds none of the keys that begin with it.
  std::vector<std::string> safeKeyHeads_;
  std::vector<size_t> headOfSafeKey_;
  // The row's texts upper-cased, kept between rows so that a long list is filtered without an
  // allocation per row.
  struct Scratch {
    RepairTarget target;
    std::string key, keyWithSlash, valuePath, text;
    std::vector<char> headFound;
  };
  mutable Scratch scratch_;
};

}  // namespace quillet
