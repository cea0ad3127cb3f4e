#include "settings/Translation.h"

#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "platform/Profile.h"
#include "settings/FormTexts.h"
#include "settings/OptionsSetting.h"
#include "settings/RegGlobal.h"
#include "base/TextCompare.h"

namespace quillet {
namespace {

// Read as the default, so a missing key is told apart from an empty value, and a current text
// with a trailing blank ("Restore previous registry ") is not trimmed by the profile read.
constexpr std::string_view kMissing = "\x01";

}  // namespace

void TranslateForm(ui::TForm& form, const std::string& lan) {
  const std::string file = GetLanguageFilePath(lan);
  // Every read of a missing file gives the current text: nothing to do.
  if (!CurrentPlatform().files->FileExists(file)) return;
  Profile& profile = *CurrentPlatform().profile;
  for (FormText& text : TranslatableTexts(form)) {
    std::string value = profile.ReadString(file, text.section, text.key, kMissing);
    if (value != kMissing && value != text.text) text.set(std::move(value));
  }
}

void TranslateToCurrentLanguage(ui::TForm& form) {
  if (!SameText(OptionsSetting.Lan, "English")) TranslateForm(form, OptionsSetting.Lan);
}

bool LanguageFileExists(std::string_view lan) { return CurrentPlatform().files->FileExists(GetLanguageFilePath(lan)); }

}  // namespace quillet
