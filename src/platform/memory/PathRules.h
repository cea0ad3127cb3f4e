#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// How Windows reads drive-letter paths, directory-search patterns and %NAME% references. The
// in-memory and host-mapped file systems share these so that both answer like the system.
namespace quillet::pathrules {

struct DrivePath {
  char drive = 0;                  // upper-case letter
  std::vector<std::string> parts;  // components after the root; "." and ".." already resolved
  bool trailingSeparator = false;  // the text ended in a separator ("C:\Dir\")
};

// "C:\Dir\File", "c:/dir//file.", "C:" (the root). Both separators count; repeated separators
// collapse; trailing dots and spaces of a component go, as the system strips them. Relative,
// UNC and drive-relative ("C:Dir") paths and names with characters the system refuses
// (< > | " : and control characters) are no drive paths.
std::optional<DrivePath> ParseDrivePath(std::string_view path);

bool HasWildcards(std::string_view name);

// A directory-search pattern: "*" matches any run of characters, "?" exactly one, letters
// compare without regard to case, and dots or stars left over at the end of the pattern once
// the name is used up are ignored (so "name.*" also finds "name" and "*.*" finds everything).
bool MatchesPattern(std::string_view name, std::string_view pattern);

// Length of a UTF-8 text in UTF-16 code units, the unit the system's buffers count in.
size_t Utf16Length(std::string_view utf8);

// Expands %NAME% references with lookup. A name that lookup does not know stays as written,
// percent signs included, and the scan goes on after its closing "%"; a lone "%" stays. Empty
// when the result and its terminator do not fit in a buffer of maxLength characters.
std::optional<std::string> ExpandVariables(std::string_view text,
                                           const std::function<std::optional<std::string>(std::string_view)>& lookup,
                                           size_t maxLength);

}  // namespace quillet::pathrules
