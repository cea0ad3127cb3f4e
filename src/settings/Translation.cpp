#include "settings/Translation.h"

namespace quillet {

// The language files arrive with the translation work; until then every window keeps the texts
// it was designed with.
void TranslateForm(ui::TForm&, const std::string&) {}

}  // namespace quillet
