#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quillet {

class AnsiCodePage;

// How an ignore entry is written into options.ini so that the profile functions read back the
// very same text. They trim blanks around a value and strip one pair of surrounding quotes, so
// an entry that begins or ends with a blank or a quote is written in quotes; an entry the file
// cannot hold (a line break or NUL, a character outside the ANSI code page, or longer than the
// 2047 characters a read returns) has no stored form.
std::optional<std::string> StoredIgnoreEntry(std::string_view entry, AnsiCodePage& ansi);
// The text written for an entry: the entry itself, in quotes when the reading would trim it.
std::string IgnoreEntryFileText(std::string_view entry);

// The entry reads back from options.ini exactly as it is, in the platform's code page.
bool CanKeepIgnoreEntry(std::string_view entry);

// The message that tells why an entry was not added to an ignore list, in the current language.
std::string IgnoreEntryRefusedText();

}  // namespace quillet
