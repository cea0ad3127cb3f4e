#include "settings/IgnoreEntryText.h"

#include "base/Utf16.h"
#include "platform/AnsiCodePage.h"
#include "platform/Platform.h"
#include "settings/RegGlobal.h"

namespace quillet {
namespace {

// The profile functions read a value into a buffer of 2048 characters.
constexpr size_t kLongestStoredValue = 2047;

// What the profile functions trim around a value: white space and Ctrl+Z.
bool IsTrimmed(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == 0x1A; }
bool IsQuote(char c) { return c == '"' || c == '\''; }

bool NeedsQuotes(std::string_view entry) {
  if (entry.empty()) return false;
  return IsTrimmed(entry.front()) || IsTrimmed(entry.back()) || IsQuote(entry.front()) || IsQuote(entry.back());
}

}  // namespace

std::optional<std::string> StoredIgnoreEntry(std::string_view entry, AnsiCodePage& ansi) {
  // A line break would end the line and put the rest into the file as lines of their own.
  if (entry.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos) return std::nullopt;
  const std::optional<std::string> ansiText = ansi.FromUtf8(entry);
  if (!ansiText || ansi.ToUtf8(*ansiText) != entry) return std::nullopt;
  std::string stored = IgnoreEntryFileText(entry);
  if (Utf8ToUtf16(stored).size() > kLongestStoredValue) return std::nullopt;
  return stored;
}

std::string IgnoreEntryFileText(std::string_view entry) {
  return NeedsQuotes(entry) ? "\"" + std::string(entry) + "\"" : std::string(entry);
}

bool CanKeepIgnoreEntry(std::string_view entry) {
  return StoredIgnoreEntry(entry, *CurrentPlatform().ansi).has_value();
}

std::string IgnoreEntryRefusedText() {
  return GetLangText("RES_Ignore_Entry_Not_Kept",
                     "This entry cannot be kept in the ignore list exactly as it is (it holds a line break or a "
                     "character outside the system's code page, or it is longer than 2047 characters), so it was "
                     "not added.");
}

}  // namespace quillet
