#pragma once

#include <stdexcept>
#include <string>

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

// A key of the options file could not be written. The text is the one users see:
// "Unable to write to " and the file's path.
class OptionsWriteFailed : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The path of options.ini, decided afresh for every load and save: the application-data
// folder + "Orvane\Quillet\" (made with its parents when missing), or the executable's folder
// when that folder cannot be had. A default options.ini beside the executable is copied there
// first when the chosen file does not exist yet.
std::string LocateOptionsFile();

enum class OptionsTransfer : bool { Save, Load };

// Load fills OptionsSetting from options.ini; Save writes it back, throwing OptionsWriteFailed
// at the first key the file refuses. The main window calls it once from its creation and once
// from its close.
void LoadOrSaveOptions(OptionsTransfer transfer, OptionsWindow& window);

}  // namespace quillet
