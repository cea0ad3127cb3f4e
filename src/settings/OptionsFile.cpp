#include "settings/OptionsFile.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <optional>
#include <set>
#include <string_view>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "platform/Profile.h"
#include "platform/SystemInfo.h"
#include "settings/IgnoreEntryText.h"
#include "settings/OptionsSetting.h"
#include "settings/RegGlobal.h"
#include "base/TextCompare.h"
#include "ui/Form.h"

namespace quillet {
namespace {

constexpr const char* kOptionsFileName = "options.ini";
constexpr const char* kOptionsFolder = "Orvane\\Quillet\\";
constexpr int kTreeNodeCount = 24;
// Far more entries than anybody adds to an ignore list by hand.
constexpr int kMostListEntries = 100000;
// The placement's show command of a maximized window, as Window/State stores it.
constexpr int kMaximizedState = 3;

// The file's integers as the program reads them: the whole (trimmed) value must be a decimal
// number that fits 32 bits, otherwise the default stands. "TRUE" is no integer; "2" is.
std::optional<int> ParseInteger(std::string_view text) {
  if (text.size() > 1 && text.front() == '+' && text[1] != '-') text.remove_prefix(1);
  int value = 0;
  const char* end = text.data() + text.size();
  auto [stop, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc() || stop != end) return std::nullopt;
  return value;
}

class OptionsReader {
 public:
  OptionsReader(Profile& profile, std::string file) : profile_(profile), file_(std::move(file)) {}

  std::string String(const char* section, const std::string& key, std::string_view defaultValue) {
    return profile_.ReadString(file_, section, key, defaultValue);
  }
  int Integer(const char* section, const std::string& key, int defaultValue) {
    // Read as text with an empty default, so that a missing key and a blank value both give the default.
    return ParseInteger(profile_.ReadString(file_, section, key, "")).value_or(defaultValue);
  }
  bool Boolean(const char* section, const std::string& key, bool defaultValue) {
    return Integer(section, key, defaultValue ? 1 : 0) != 0;
  }
  // Count entries named prefix + 1 .. Count; a missing one is an empty entry, so the list and
  // its count agree. A negative Count reads as 0. A damaged Count must not hold up the start, so
  // the list ends at the last entry the section holds (and never passes kMostListEntries); only
  // entries that are there are read.
  void List(const char* section, const char* prefix, int& count, std::vector<std::string>& entries) {
    count = Integer(section, "Count", 0);
    if (count < 0) count = 0;
    std::set<int> present;
    for (const std::string& key : profile_.ReadSectionKeys(file_, section)) {
      if (key.size() <= std::strlen(prefix) || !SameText(std::string_view(key).substr(0, std::strlen(prefix)), prefix)) {
        continue;
      }
      const std::optional<int> number = ParseInteger(std::string_view(key).substr(std::strlen(prefix)));
      if (number && *number >= 1 && *number <= kMostListEntries) present.insert(*number);
    }
    count = std::min(count, present.empty() ? 0 : *present.rbegin());
    for (int i = 1; i <= count; ++i) {
      entries.push_back(present.contains(i) ? String(section, prefix + std::to_string(i), "") : std::string());
    }
  }

 private:
  Profile& profile_;
  std::string file_;
};

class OptionsWriter {
 public:
  OptionsWriter(Profile& profile, std::string file) : profile_(profile), file_(std::move(file)) {}

  void String(const char* section, const std::string& key, std::string_view value) {
    if (!profile_.WriteString(file_, section, key, value)) throw OptionsWriteFailed("Unable to write to " + file_);
  }
  void Integer(const char* section, const std::string& key, int value) { String(section, key, std::to_string(value)); }
  void Boolean(const char* section, const std::string& key, bool value) { String(section, key, value ? "1" : "0"); }
  // Entries with higher numbers left from a longer list stay in the file; Count hides them.
  // Each entry goes in the form the profile functions read back unchanged.
  void List(const char* section, const char* prefix, int count, const std::vector<std::string>& entries) {
    Integer(section, "Count", count);
    for (int i = 1; i <= count && static_cast<size_t>(i) <= entries.size(); ++i) {
      String(section, prefix + std::to_string(i), IgnoreEntryFileText(entries[static_cast<size_t>(i - 1)]));
    }
  }

 private:
  Profile& profile_;
  std::string file_;
};

void Load(OptionsWindow& window) {
  OptionsReader file(*CurrentPlatform().profile, LocateOptionsFile());
  TOptionsSetting& options = OptionsSetting;
  options.OutputDirectory = file.String("Options", "OutputDirectory", DefaultOutputDirectory());
  options.DeleteBackupFile = file.Boolean("Options", "DeleteBackupFile", true);
  options.IncludeRemoveMedia = file.Boolean("Options", "IncludeRemoveMedia", false);
  options.IncludeCDdrive = file.Boolean("Options", "IncludeCDdrive", false);
  options.Beep = file.Boolean("Options", "Beep", false);
  for (int node = 1; node <= kTreeNodeCount; ++node) {
    options.TreeNodeChecks[static_cast<size_t>(node)] = file.Boolean("TreeViewNodeCheck", std::to_string(node), true);
  }
  file.List("IgnoreValue", "Value", options.IgnoreValueCount, options.IgnoreValues);
  file.List("IgnoreKey", "Key", options.IgnoreKeyCount, options.IgnoreKeys);

  ui::TForm& form = window.MainForm();
  if (file.Integer("Window", "State", 1) == kMaximizedState) {
    // Maximized: the window keeps its designed size and the bounds in the file are not read.
    options.WindowState = TWindowState::Maximized;
  } else {
    // Centred from the designed size: the stored size is applied only after the position is read.
    const ui::TSize screen = form.Host().ScreenSize();
    options.WindowLeft = file.Integer("Window", "Left", (screen.width - form.Width()) / 2);
    options.WindowTop = file.Integer("Window", "Top", (screen.height - form.Height()) / 2);
    form.SetWidth(file.Integer("Window", "Width", form.Width()));
    form.SetHeight(file.Integer("Window", "Height", form.Height()));
  }

  options.ShowHint = file.Boolean("Options", "ShowHint", true);
  options.RestorePoint = file.Boolean("Options", "RestorePoint", false);
  options.Lan = file.String("Options", "Lan", "English");
}

// The keys in the order the profile functions then lay out a new file: Options, TreeViewNodeCheck,
// IgnoreValue, IgnoreKey, Window, with ShowHint, RestorePoint and Lan at the end of Options.
void Save(OptionsWindow& window) {
  OptionsWriter file(*CurrentPlatform().profile, LocateOptionsFile());
  TOptionsSetting& options = OptionsSetting;
  file.String("Options", "OutputDirectory", options.OutputDirectory);
  file.Boolean("Options", "DeleteBackupFile", options.DeleteBackupFile);
  file.Boolean("Options", "IncludeRemoveMedia", options.IncludeRemoveMedia);
  file.Boolean("Options", "IncludeCDdrive", options.IncludeCDdrive);
  file.Boolean("Options", "Beep", options.Beep);
  window.StoreCategoryTicks();
  for (int node = 1; node <= kTreeNodeCount; ++node) {
    file.Boolean("TreeViewNodeCheck", std::to_string(node), options.TreeNodeChecks[static_cast<size_t>(node)]);
  }
  file.List("IgnoreValue", "Value", options.IgnoreValueCount, options.IgnoreValues);
  file.List("IgnoreKey", "Key", options.IgnoreKeyCount, options.IgnoreKeys);

  ui::TForm& form = window.MainForm();
  // Without a placement the State key keeps what it held.
  if (std::optional<int> showCommand = form.Host().WindowShowCommand(form)) file.Integer("Window", "State", *showCommand);
  file.Integer("Window", "Left", form.Left());
  file.Integer("Window", "Top", form.Top());
  file.Integer("Window", "Width", form.Width());
  file.Integer("Window", "Height", form.Height());

  file.Boolean("Options", "ShowHint", options.ShowHint);
  file.Boolean("Options", "RestorePoint", options.RestorePoint);
  file.String("Options", "Lan", options.Lan);
}

}  // namespace

std::string LocateOptionsFile() {
  FileSystem& files = *CurrentPlatform().files;
  const std::string executableFolder = CurrentPlatform().system->ExecutableFolder();
  std::string folder = executableFolder;
  const std::string appData = GetAppDataFolder();
  // A system that names no application-data folder ("\\" alone) is treated like one whose
  // folder cannot be made, rather than writing to the root of the current drive.
  if (appData != "\\") {
    const std::string appFolder = appData + kOptionsFolder;
    if (files.FolderExists(appFolder) || (files.CreateFolderTree(appFolder) && files.FolderExists(appFolder))) {
      folder = appFolder;
    }
  }
  const std::string file = folder + kOptionsFileName;
  const std::string shipped = executableFolder + kOptionsFileName;
  // A failed copy is no error: the load then reads whatever is there, or the defaults.
  if (!files.FileExists(file) && files.FileExists(shipped)) (void)files.CopyFile(shipped, file, false);
  return file;
}

void LoadOrSaveOptions(OptionsTransfer transfer, OptionsWindow& window) {
  if (transfer == OptionsTransfer::Load) {
    Load(window);
  } else {
    Save(window);
  }
}

}  // namespace quillet
