#pragma once

#include <string>
#include <string_view>

// The program's one case-insensitive text helper: both sides are upper-cased, then compared
// exactly. Texts are UTF-8; letters of the Latin, Greek and Cyrillic blocks are upper-cased,
// everything else is compared as it stands. Upper-casing never changes a text's byte length.
namespace quillet {

std::string UpperCase(std::string_view text);
void UpperCaseInPlace(std::string& text);  // the same, without a copy
bool SameText(std::string_view a, std::string_view b);
// Byte position of the first occurrence of needle in text, ignoring case; npos when absent.
size_t FindText(std::string_view text, std::string_view needle, size_t from = 0);
bool ContainsText(std::string_view text, std::string_view needle);
bool StartsWithText(std::string_view text, std::string_view prefix);
bool EndsWithText(std::string_view text, std::string_view suffix);

}  // namespace quillet
