#pragma once

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "ui/Form.h"

namespace quillet::testing {

class MainWindowFixture;

// Every window of the program, made as it opens, for the tests that hold the language files
// against the windows. A new window adds one line to the table in TranslatableForms.cpp.
struct TranslatableForm {
  std::string name;
  std::function<std::unique_ptr<ui::TForm>(MainWindowFixture&)> make;
  // Components whose designed text never shows because the window builds it when shown: a
  // language file must not carry them, or its text would replace the built one.
  std::set<std::string> builtWhenShown;
};

const std::vector<TranslatableForm>& TranslatableForms();

}  // namespace quillet::testing
