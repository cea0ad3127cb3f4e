#pragma once

#include <span>

// The keys of the [ResourceString] section of a language file: the texts the program builds at
// run time and looks up with GetLangText. Spelled as translators' files carry them.
namespace quillet {

std::span<const char* const> ResourceStringKeys();

}  // namespace quillet
