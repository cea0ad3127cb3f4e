#pragma once

namespace quillet::ui {
class TForm;
}

namespace quillet {

// What loading and saving the options need of the main window.
class OptionsWindow {
 public:
  virtual ~OptionsWindow() = default;
  // Bounds, placement and size.
  virtual ui::TForm& MainForm() = 0;
  // Copies the category ticks into OptionsSetting.TreeNodeChecks.
  virtual void StoreCategoryTicks() = 0;
};

// load = true fills OptionsSetting from options.ini; false writes it back. The main window calls
// it once from its creation and once from its close.
void LoadOrSaveOptions(bool load, OptionsWindow& window);

}  // namespace quillet
