#include "scan/FilesAndFoldersScans.h"

#include <memory>
#include <optional>
#include <vector>

#include "platform/RegistryStore.h"
#include "scan/PathReference.h"
#include "scan/ScanContext.h"
#include "base/TextCompare.h"

namespace quillet {
namespace {

constexpr int kLocalMachineCategory = 3;
constexpr int kCurrentUserCategory = 4;
constexpr int kUsersCategory = 5;

// Whole paths, any case: other categories scan these keys on their own.
constexpr const char* kLocalMachineSkips[] = {
    "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDlls",
    "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths",
    "Software\\Microsoft\\Windows\\Help",
    "Software\\Microsoft\\Windows\\Html Help",
    "Software\\Classes\\Applications",
    "Software\\Microsoft\\Windows\\CurrentVersion\\Run",
    "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce",
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall",
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Installer\\Folders",
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Management\\ARPCache",
    "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\Cache\\Paths\\path1",
    "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\Cache\\Paths\\path2",
    "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\Cache\\Paths\\path3",
    "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\Cache\\Paths\\path4",
    "SOFTWARE\\Microsoft\\Office\\Delivery\\SourceEngine\\Downloads",
};

// Contained in the path, any case.
constexpr const char* kWin7Or8Skips[] = {
    "}\\localserver32",
    "}\\inprocserver32",
    "Software\\Classes\\Windows.DVD.Maker",
};
constexpr const char* kWin8ExactCaseSkips[] = {
    "Software\\Microsoft\\PowerShell\\3",
    "Software\\Microsoft\\Speech\\Voices\\Tokens",
    "Software\\Microsoft\\Windows\\CurrentVersion\\ShellCompatibility\\InboxApp",
};
constexpr const char* kWin8AnyCaseSkips[] = {
    "software\\microsoft",
    "}\\localserver32",
    "}\\inprocserver32",
    "software\\classes\\extensions\\contractid\\windows.",
    "software\\classes\\typelib\\",
};

constexpr const char* kCurrentUserSkips[] = {
    "Software\\Microsoft\\Windows\\CurrentVersion\\Run",
    "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce",
    "AppEvents\\Schemes\\Apps",
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\OpenSaveMRU",
};

constexpr const char* kImmersiveShell = "Software\\Microsoft\\Windows\\CurrentVersion\\ImmersiveShell";
constexpr const char* kNestedWow64Node = "Software\\Wow6432Node\\Wow6432Node";
constexpr const char* kInputMethodFolder = "system32\\ime\\";

struct FilesAndFoldersRoot {
  int category;
  const char* rootName;
  const char* startPath;
};

constexpr FilesAndFoldersRoot kRoots[] = {
    {kLocalMachineCategory, "HKEY_LOCAL_MACHINE", "Software"},
    {kCurrentUserCategory, "HKEY_CURRENT_USER", ""},
    {kUsersCategory, "HKEY_USERS", ""},
};

template <size_t N>
bool EqualsAny(std::string_view path, const char* const (&texts)[N]) {
  for (const char* text : texts) {
    if (SameText(path, text)) return true;
  }
  return false;
}

template <size_t N>
bool ContainsAny(std::string_view path, const char* const (&texts)[N]) {
  for (const char* text : texts) {
    if (ContainsText(path, text)) return true;
  }
  return false;
}

template <size_t N>
bool ContainsAnyExactCase(std::string_view path, const char* const (&texts)[N]) {
  for (const char* text : texts) {
    if (path.find(text) != std::string_view::npos) return true;
  }
  return false;
}

bool IsSkipped(const ScanFlags& flags, int category, std::string_view path) {
  if (category == kLocalMachineCategory) {
    if (EqualsAny(path, kLocalMachineSkips)) return true;
    if (flags.IsWin7Or8 && ContainsAny(path, kWin7Or8Skips)) return true;
    if (flags.IsWin8 && (ContainsAnyExactCase(path, kWin8ExactCaseSkips) || ContainsAny(path, kWin8AnyCaseSkips))) {
      return true;
    }
  }
  if (category == kCurrentUserCategory && EqualsAny(path, kCurrentUserSkips)) return true;
  return flags.IsWin8 && path.find(kImmersiveShell) != std::string_view::npos;
}

bool IsStringKind(ValueKind kind) { return kind == ValueKind::String || kind == ValueKind::ExpandString; }

}  // namespace

namespace {

// What stays the same over one walk, worked out once instead of at every key.
struct Walk {
  ScanContext& context;
  int category;
  std::string rootText;  // upper-cased, the start of every key path in a row
  RootKey root;
  std::string_view keyName;
};

// The key at keyPath, opened below its parent's open key when there is one (the start of the
// walk opens from the root), then its values and its subkeys.
void WalkKey(const Walk& walk, const std::string& keyPath, RegistryCursor* parent, std::string_view name) {
  ScanContext& context = walk.context;
  if (IsSkipped(context.Flags(), walk.category, keyPath)) return;
  if (walk.root == RootKey::LocalMachine && StartsWithText(keyPath, kNestedWow64Node)) return;

  // One open key per level of depth and the name lists of the keys on the current path.
  std::unique_ptr<RegistryCursor> cursor;
  if (parent) {
    cursor = parent->OpenSubkey(name);
    if (!cursor) return;
  } else {
    cursor = context.NewCursor();
    cursor->SetRoot(walk.root);
    cursor->SetReadOnly();
    if (!cursor->OpenKey(keyPath)) return;
  }
  context.ShowScannedKey(keyPath);

  std::vector<std::string> names;
  cursor->GetValueNames(names);
  for (const std::string& valueName : names) {
    if (!IsStringKind(cursor->GetValueKind(valueName))) continue;
    const std::string text = cursor->ReadString(valueName);
    if (ContainsText(text, kInputMethodFolder)) continue;
    if (!IsBrokenReference(context, text, walk.keyName, FolderMatch::FoldersToo)) continue;
    std::string why = context.Reason(Why::MissingFile, ReferencedPath(context, text, walk.keyName));
    if (valueName.find('\\') == std::string::npos) {
      // At the root itself there is no path between the root name and the value name.
      const std::string keyPrefix = keyPath.empty() ? walk.rootText : walk.rootText + "\\" + keyPath;
      context.AddRow(keyPrefix + "\\" + valueName, text, RepairAction::DeleteValueInPath, std::move(why));
    } else {
      context.AddRow(walk.rootText + "\\" + keyPath, valueName, RepairAction::DeleteNamedValue, std::move(why));
    }
  }

  cursor->GetSubkeyNames(names);
  std::string childPath = keyPath;
  for (const std::string& name : names) {
    if (name.empty()) continue;
    childPath.resize(keyPath.size());
    if (!keyPath.empty()) childPath += '\\';
    childPath += name;
    WalkKey(walk, childPath, cursor.get(), name);
  }
}

}  // namespace

void WalkFileReferences(ScanContext& context, int category, std::string_view rootName, const std::string& keyPath,
                        std::string_view keyName) {
  std::string rootText = UpperCase(rootName);
  const std::optional<RootKey> root = ParseRootName(rootText);
  if (!root) return;
  WalkKey(Walk{context, category, std::move(rootText), *root, keyName}, keyPath, nullptr, {});
}

void ScanFilesAndFolders(ScanContext& context) {
  for (const FilesAndFoldersRoot& entry : kRoots) {
    if (entry.category == context.CurrentCategory()) {
      WalkFileReferences(context, entry.category, entry.rootName, entry.startPath, "");
    }
  }
}

}  // namespace quillet
