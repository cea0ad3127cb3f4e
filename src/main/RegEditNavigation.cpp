#include "main/RegEditNavigation.h"

#include <array>
#include <optional>

#include "platform/DesktopWindows.h"
#include "platform/RegistryStore.h"
#include "base/Utf16.h"
#include "base/TextCompare.h"

namespace quillet {
namespace {

constexpr std::string_view kEditorClass = "RegEdit_RegEdit";
constexpr std::string_view kTreeClass = "SysTreeView32";
constexpr std::string_view kListClass = "SysListView32";
constexpr unsigned kStartWaitMs = 200;
// A freshly started editor that is not ready after the start's wait is looked for again this
// often, this many times (five seconds in all), before anything is typed.
constexpr unsigned kPollMs = 50;
constexpr int kPolls = 100;
constexpr int kClimbSteps = 30;
constexpr unsigned kKeyWaitMs = 10;
// The tree's type-ahead search joins the characters typed within about half a second into one
// name, whatever keys come between; each level's name waits that long after the one above.
constexpr unsigned kLevelWaitMs = 500;

struct ShortRoot {
  std::string_view shortName;
  std::string_view longName;
};
constexpr std::array<ShortRoot, 5> kShortRoots{{
    {"HKLM", "HKEY_LOCAL_MACHINE"},
    {"HKCU", "HKEY_CURRENT_USER"},
    {"HKU", "HKEY_USERS"},
    {"HKCR", "HKEY_CLASSES_ROOT"},
    {"HKCC", "HKEY_CURRENT_CONFIG"},
}};

// The root key of a long name written exactly so; none for anything else.
std::optional<RootKey> ExactRoot(std::string_view name) {
  for (RootKey root :
       {RootKey::ClassesRoot, RootKey::CurrentUser, RootKey::LocalMachine, RootKey::Users, RootKey::CurrentConfig}) {
    if (name == RootName(root)) return root;
  }
  return std::nullopt;
}

void SendChars(DesktopWindows& desktop, WindowId window, std::string_view text) {
  for (char16_t unit : Utf8ToUtf16(text)) desktop.SendChar(window, unit);
}

// The editor's window once its tree is there; 0 when it never came.
WindowId WaitForEditor(DesktopWindows& desktop) {
  WindowId editor = desktop.FindTopLevelWindow(kEditorClass);
  for (int poll = 0; poll < kPolls && !(editor && desktop.FindChildWindow(editor, kTreeClass)); ++poll) {
    desktop.Pause(kPollMs);
    editor = desktop.FindTopLevelWindow(kEditorClass);
  }
  return editor;
}

}  // namespace

std::string RegEditPathOfRow(const ProblemEntry& row) {
  switch (row.action) {
    case RepairAction::DeleteValueInPath: {
      const size_t slash = row.keyPath.rfind('\\');
      return slash == std::string::npos ? std::string() : row.keyPath.substr(0, slash);
    }
    case RepairAction::DeleteNamedSubkey: return row.keyPath + "\\" + row.value;
    case RepairAction::DeleteFile: return {};
    default: return row.keyPath;
  }
}

std::string ExpandShortRootName(std::string_view root) {
  const std::string upper = UpperCase(root);
  for (const ShortRoot& entry : kShortRoots) {
    if (upper == entry.shortName) return std::string(entry.longName);
  }
  return std::string(root);
}

RegEditOpening OpenPathInRegEdit(RegistryStore& registry, DesktopWindows& desktop, std::string_view path) {
  if (UpperCase(path).find("HK") == std::string::npos) return RegEditOpening::NotFound;
  const size_t slash = path.find('\\');
  if (slash == std::string_view::npos) return RegEditOpening::Nothing;
  const std::string root = ExpandShortRootName(path.substr(0, slash));
  const std::string rest(path.substr(slash + 1));
  const std::optional<RootKey> rootKey = ExactRoot(root);
  if (!rootKey) return RegEditOpening::NotFound;

  auto cursor = registry.NewCursor();
  cursor->SetRoot(*rootKey);
  if (cursor->KeyExists("\\" + rest)) {
    NavigateRegEdit(desktop, root, rest, "");
    return RegEditOpening::Opened;
  }
  const size_t last = rest.rfind('\\');
  const std::string parent = last == std::string::npos ? std::string() : rest.substr(0, last);
  const std::string valueName = last == std::string::npos ? rest : rest.substr(last + 1);
  if (cursor->KeyExists("\\" + parent)) {
    // A key that exists but will not open for full access may still hold the value.
    if (!cursor->OpenKey("\\" + parent) || cursor->ValueExists(valueName)) {
      NavigateRegEdit(desktop, root, parent, valueName);
      return RegEditOpening::Opened;
    }
  }
  return RegEditOpening::NotFound;
}

void NavigateRegEdit(DesktopWindows& desktop, std::string_view rootName, std::string_view keyPath,
                     std::string_view valueName) {
  if (keyPath.empty()) return;
  std::string fullPath(rootName);
  if (!keyPath.starts_with('\\')) fullPath += '\\';
  fullPath += keyPath;

  WindowId editor = desktop.FindTopLevelWindow(kEditorClass);
  if (!editor) {
    if (!desktop.StartProgram("regedit.exe", kStartWaitMs)) return;
    editor = WaitForEditor(desktop);
  }
  if (!editor) return;
  desktop.ShowMaximized(editor);

  const WindowId tree = desktop.FindChildWindow(editor, kTreeClass);
  if (!tree) return;
  desktop.SetForeground(tree);
  for (int i = 0; i < kClimbSteps; ++i) desktop.SendKeyDown(tree, NavigationKey::Left);
  desktop.Pause(kKeyWaitMs);
  desktop.SendKeyDown(tree, NavigationKey::Right);
  desktop.Pause(kLevelWaitMs);
  for (char16_t unit : Utf8ToUtf16(fullPath)) {
    if (unit == u'\\') {
      desktop.SendKeyDown(tree, NavigationKey::Right);
      desktop.Pause(kLevelWaitMs);
    } else {
      desktop.SendChar(tree, unit);
    }
  }

  const WindowId list = desktop.FindChildWindow(editor, kListClass);
  if (!list) return;
  desktop.SetForeground(list);
  if (valueName.empty()) return;
  desktop.SendKeyDown(list, NavigationKey::Down);
  desktop.Pause(kKeyWaitMs);
  SendChars(desktop, list, valueName);
}

}  // namespace quillet
