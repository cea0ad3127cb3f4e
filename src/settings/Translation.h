#pragma once

#include <string>

namespace quillet::ui {
class TForm;
}

namespace quillet {

// Applies the language file of a language to a window's captions, by component name. Every
// window calls it when shown unless the language is English.
void TranslateForm(ui::TForm& form, const std::string& lan);

}  // namespace quillet
