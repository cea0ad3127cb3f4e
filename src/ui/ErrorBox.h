#pragma once

#include <string>

namespace quillet::ui {

class TForm;
class UiHost;

// The program's standard error box: the error's text under the product title, the error icon
// and an OK button. Window procedures show the errors that reach them in it too.
void ShowErrorBox(UiHost& host, TForm* owner, const std::string& text);

}  // namespace quillet::ui
