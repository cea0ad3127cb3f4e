#pragma once

#include <span>
#include <string>

// The items of the main window's Language menu, in menu order. An item's language name is its
// component name without the first two characters: "miNederlands" reads "Lan_Nederlands.ini".
namespace quillet {

struct LanguageMenuItem {
  const char* name;     // component name
  const char* caption;  // "-" for the separator
};

std::span<const LanguageMenuItem> LanguageMenuItems();
// "miEnglish" → "English".
std::string LanguageOfMenuItem(const std::string& componentName);

}  // namespace quillet
