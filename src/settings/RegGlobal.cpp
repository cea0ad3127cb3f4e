#include "settings/RegGlobal.h"

#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "platform/Profile.h"
#include "platform/Shell.h"
#include "settings/OptionsSetting.h"
#include "base/TextCompare.h"

namespace quillet {

std::string GetLanguageFilePath(std::string_view lan) {
  const std::string folder = CurrentPlatform().system->ExecutableFolder();
  const std::string name = "Lan_" + std::string(lan) + ".ini";
  std::string beside = folder + name;
  if (CurrentPlatform().files->FileExists(beside)) return beside;
  return folder + "Languages\\" + name;
}

std::string GetLangText(std::string_view key, std::string_view englishText) {
  const std::string& lan = OptionsSetting.Lan;
  if (SameText(lan, "English")) return std::string(englishText);
  // A language file that lacks the key (or is missing) shows the English text rather than an
  // empty caption. The default is given as empty so that the profile cannot trim it.
  std::string text = CurrentPlatform().profile->ReadString(GetLanguageFilePath(lan), "ResourceString", key, "");
  return text.empty() ? std::string(englishText) : text;
}

std::string GetAppDataFolder() {
  std::string folder = CurrentPlatform().shell->GetSpecialFolder(SpecialFolder::AppData).value_or("");
  if (!folder.ends_with('\\')) folder += '\\';
  return folder;
}

WindowsVersionCode ClassifyWindowsVersion(const OsVersion& version) {
  if (version.platform == PlatformId::Windows9x) {
    if (version.major == 4 && version.minor == 0) return 1;
    if (version.major == 4 && version.minor == 10) return 3;
    if (version.major == 4 && version.minor == 90) return 8;
    return 10;
  }
  switch (version.major) {
    case 3: return 5;
    case 4: return 6;
    case 5:
      if (version.minor == 0) return 7;
      if (version.minor == 1) return 9;
      return 10;
    case 6:
      if (version.minor == 1) return 12;
      if (version.minor == 2) return 13;
      return 11;
    default: return 10;
  }
}

WindowsVersionCode GetWindowsVersion() { return ClassifyWindowsVersion(CurrentPlatform().system->GetOsVersion()); }

bool IsWow64() { return CurrentPlatform().system->QueryWow64Process().value_or(false); }

bool BrowseForFolder(std::string_view title, std::string& path) {
  return CurrentPlatform().shell->BrowseForFolder(title, path);
}

bool ShellDeleteFile(std::string_view path) { return CurrentPlatform().shell->DeleteFileSilently(path); }

std::string TwoDigits(int n) {
  std::string text = n <= 9 ? "0" : "";
  text += std::to_string(n);
  return text;
}

std::string Rot13(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') {
      c = static_cast<char>('a' + (c - 'a' + 13) % 26);
    } else if (c >= 'A' && c <= 'Z') {
      c = static_cast<char>('A' + (c - 'A' + 13) % 26);
    }
  }
  return out;
}

std::string DefaultOutputDirectory() { return CurrentPlatform().system->ExecutableFolder() + "Backup"; }

}  // namespace quillet
