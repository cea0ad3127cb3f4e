#include "main/ResultFilter.h"

#include <algorithm>
#include <array>

#include "main/RepairTarget.h"
#include "base/TextCompare.h"

namespace quillet {
namespace {

// Two shell extension classes whose rows come back after every repair (upper-cased).
constexpr std::array<std::string_view, 2> kNeverOfferedClasses{
    "CLSID\\{DFEAF541-F3E1-4C24-ACAC-99C30715084A}",
    "CLSID\\{DC6EFB56-9CFA-464D-8880-44885D7DC193}",
};

bool Has(std::string_view text, std::string_view part) { return text.find(part) != std::string_view::npos; }

// A "?" stands for a character that had no form in the code page, so the text is no real path.
bool QuestionMarkWithDrive(std::string_view text) { return Has(text, "?") && Has(text, ":\\"); }

bool QuestionMarkWithVariable(std::string_view text, std::string_view closing) {
  if (!Has(text, "?")) return false;
  const size_t percent = text.find('%');
  return percent != std::string_view::npos && Has(text.substr(percent + 1), closing);
}

// The text upper-cased into a buffer that keeps its room from row to row.
std::string& UpperCased(std::string& buffer, std::string_view text) {
  buffer.assign(text);
  UpperCaseInPlace(buffer);
  return buffer;
}

std::string WithTrailingBackslash(std::string text) {
  if (!text.ends_with('\\')) text += '\\';
  return text;
}

}  // namespace

bool MatchesFixedPattern(std::string_view keyText, std::string_view valueText) {
  // Every pattern is ASCII, so comparing without regard to case needs no upper-cased copies.
  for (std::string_view identifier : kNeverOfferedClasses) {
    if (ContainsText(keyText, identifier)) return true;
  }
  return ContainsText(keyText, "%USERNAME%_") || ContainsText(valueText, "%USERNAME%_") ||
         QuestionMarkWithDrive(keyText) || QuestionMarkWithVariable(keyText, "%\\") ||
         QuestionMarkWithDrive(valueText) || QuestionMarkWithVariable(valueText, "%");
}

bool IsUnrepaired(std::string_view keyText, std::string_view valueText, const std::vector<std::string>& unrepairedKeys,
                  const std::vector<std::string>& unrepairedValues) {
  const size_t pairs = std::min(unrepairedKeys.size(), unrepairedValues.size());
  for (size_t i = 0; i < pairs; ++i) {
    if (SameText(keyText, unrepairedKeys[i]) && SameText(valueText, unrepairedValues[i])) return true;
  }
  return false;
}

std::vector<std::string> BuildSafeList(const std::vector<std::string>& safeKeysAlways,
                                       const std::vector<std::string>& ignoreKeys,
                                       const std::vector<std::string>& safeKeysVistaTo8, int windowsVersion) {
  std::vector<std::string> safe(safeKeysAlways);
  safe.insert(safe.end(), ignoreKeys.begin(), ignoreKeys.end());
  if (windowsVersion >= 11 && windowsVersion <= 13) {
    safe.insert(safe.end(), safeKeysVistaTo8.begin(), safeKeysVistaTo8.end());
  }
  return safe;
}

IgnoreAndSafeLists::IgnoreAndSafeLists(const std::vector<std::string>& ignoreValues,
                                       const std::vector<std::string>& safeList) {
  // An empty entry (an options file whose list is shorter than its count) protects nothing: as
  // a value it would match no row anyway, and as a key it would be a lone "\" that every row
  // contains, hiding every finding.
  for (const std::string& entry : ignoreValues) {
    if (!entry.empty()) ignoreValues_.push_back(UpperCase(entry));
  }
  for (const std::string& entry : safeList) {
    if (!entry.empty()) safeKeys_.push_back(WithTrailingBackslash(UpperCase(entry)));
  }
  for (const std::string& entry : safeKeys_) {
    const std::string_view head = std::string_view(entry).substr(0, entry.find('\\') + 1);
    const auto found = std::find(safeKeyHeads_.begin(), safeKeyHeads_.end(), head);
    headOfSafeKey_.push_back(static_cast<size_t>(found - safeKeyHeads_.begin()));
    if (found == safeKeyHeads_.end()) safeKeyHeads_.emplace_back(head);
  }
}

bool IgnoreAndSafeLists::Covers(std::string_view keyText, std::string_view valueText, RepairAction action) const {
  TargetOfRowInto(keyText, valueText, action, scratch_.target);
  const RepairTarget& target = scratch_.target;
  if (!target.split || target.isFile || !target.known) return false;
  // The default value is written "@"; an empty value name stands for the whole key.
  const std::string_view value = action == RepairAction::DeleteDefaultValue ? std::string_view("@") : target.value;
  const bool hasValue = target.isValue && !value.empty();
  const std::string& key = UpperCased(scratch_.key, target.key);

  // An ignored value protects its own row; for a whole key, every ignore entry that contains the
  // key (a value in it or anywhere below it, or any entry beginning with the same text).
  if (hasValue) scratch_.valuePath.assign(key).append(1, '\\').append(UpperCased(scratch_.text, value));
  for (const std::string& entry : ignoreValues_) {
    if (hasValue ? entry == scratch_.valuePath : Has(entry, key)) return true;
  }

  std::string& keyWithSlash = scratch_.keyWithSlash.assign(key);
  if (!keyWithSlash.ends_with('\\')) keyWithSlash += '\\';
  // The key text with and without a trailing "\".
  const std::string& text = UpperCased(scratch_.text, keyText);
  const auto isTextWithSlash = [&text](const std::string& entry) {
    return entry.size() == text.size() + 1 && entry.back() == '\\' && entry.starts_with(text);
  };
  // A safe key inside the key text needs its first part there too: each part is looked for once.
  scratch_.headFound.resize(safeKeyHeads_.size());
  for (size_t i = 0; i < safeKeyHeads_.size(); ++i) scratch_.headFound[i] = Has(keyWithSlash, safeKeyHeads_[i]);
  for (size_t i = 0; i < safeKeys_.size(); ++i) {
    const std::string& entry = safeKeys_[i];
    const bool inKey = scratch_.headFound[headOfSafeKey_[i]] && Has(keyWithSlash, entry);
    const bool covers = hasValue ? inKey || entry == text || isTextWithSlash(entry)
                                 : inKey || Has(entry, keyWithSlash);
    if (covers) return true;
  }
  return false;
}

}  // namespace quillet
