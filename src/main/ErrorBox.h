#pragma once

#include <string>

namespace quillet::ui {
class TForm;
class UiHost;
}  // namespace quillet::ui

namespace quillet {

// The program's standard error box: the error's text under the product title, the error icon
// and an OK button, as the window procedures show errors that reach them.
void ShowErrorBox(ui::UiHost& host, ui::TForm* owner, const std::string& text);

}  // namespace quillet
