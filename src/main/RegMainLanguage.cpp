#include "base/AppIdentity.h"
#include "main/RegMain.h"
#include "main/WebAddresses.h"
#include "settings/LanguageMenu.h"
#include "settings/OptionsSetting.h"
#include "settings/Translation.h"

namespace quillet {
namespace {

// "Lan_Korean.ini can not be found."; for the slot of a user-made translation, where to get one.
std::string MissingLanguageFileText(const std::string& lan) {
  std::string text = "Lan_" + lan + ".ini can not be found.";
  if (lan == "Other") {
    text += "\r\n\r\nPlease visit ";
    text += kWebAddresses.translationPage;
    text += " to download a translation or to learn how to make your own.";
  }
  return text;
}

}  // namespace

void TfrmQuillet::miEnglishClick(ui::TMenuItem& item) {
  try {
    const std::string lan = LanguageOfMenuItem(item.Name());
    if (!LanguageFileExists(lan)) {
      Host().MessageBox(this, {MissingLanguageFileText(lan), kMessageBoxTitle, ui::MessageButtons::Ok});
      return;
    }
    OptionsSetting.Lan = lan;
    for (ui::TMenuItem* language : LanguageItems()) language->SetChecked(language == &item);
    // Read even for English: its file is how the designed texts come back after a switch.
    TranslateForm(*this, lan);
    SizeTaskButtons();
    ArrangeControls();
  } catch (...) {
    // A switch that fails half way leaves the window as far as it got, without a message.
  }
}

void TfrmQuillet::aLanguageUpdate() {
  for (ui::TMenuItem* item : MenuItem("miLanguage")->Items()) {
    item->SetVisible(LanguageFileExists(LanguageOfMenuItem(item->Name())));
  }
}

}  // namespace quillet
