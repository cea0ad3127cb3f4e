#pragma once

#include <string>
#include <string_view>

namespace quillet::ui {
class TForm;
}

namespace quillet {

// Applies the language file of a language to a window's texts, by component name (see
// FormTexts.h for which texts). A key the file lacks, or a missing file, leaves that text as
// it is, so a file with some keys changes only those.
void TranslateForm(ui::TForm& form, const std::string& lan);

// What every window calls when it is shown: translates it into the current language unless
// that is English, whose texts the window already has.
void TranslateToCurrentLanguage(ui::TForm& form);

// Whether the language has a file beside the executable or in its "Languages" folder.
bool LanguageFileExists(std::string_view lan);

}  // namespace quillet
