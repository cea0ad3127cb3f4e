#include "settings/OptionsFile.h"

#include "settings/OptionsSetting.h"
#include "ui/Form.h"

namespace quillet {

// The options file itself arrives with the settings work. Until then a load gives what a first
// start without a file gives (the window centred on the screen, every other field at its
// default) and a save writes nothing.
void LoadOrSaveOptions(bool load, OptionsWindow& window) {
  if (!load) return;
  ui::TForm& form = window.MainForm();
  const ui::TSize screen = form.Host().ScreenSize();
  OptionsSetting.WindowLeft = (screen.width - form.Width()) / 2;
  OptionsSetting.WindowTop = (screen.height - form.Height()) / 2;
}

}  // namespace quillet
