#pragma once

#include <functional>
#include <string>
#include <vector>

namespace quillet::ui {
class TForm;
}

namespace quillet {

// One text of a window that a language file can replace: where the file keeps it, what the
// window shows now, and how to put a new text in its place.
struct FormText {
  std::string section;  // the window's name, or "Menu_" and the window's name for menu items
  std::string key;      // component name, with "_Item3", "_Panel0", "_Column1", "_Page2" or "_5"
  std::string text;
  // Texts whose access keys ("&F") must differ: the items of one menu, or the controls of one
  // window. Empty for texts without access keys (entries, nodes, columns, panels, captions).
  std::string accessGroup;
  std::function<void(std::string)> set;
};

// Every text of the window that translation replaces, in the order it replaces them: the
// window's caption, then its components in creation order. Decided by component kind, so a new
// window needs nothing here. Menu separators, edit fields, memos, pictures, timers, progress
// bars, actions and the pages themselves carry no translatable text.
std::vector<FormText> TranslatableTexts(ui::TForm& form);

}  // namespace quillet
