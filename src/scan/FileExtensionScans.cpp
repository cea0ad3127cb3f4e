#include "scan/FileExtensionScans.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

#include "platform/RegistryStore.h"
#include "scan/PathReference.h"
#include "scan/ScanContext.h"
#include "base/TextCompare.h"

namespace quillet {
namespace {

constexpr const char* kMachineClassesKey = "Software\\Classes";
constexpr const char* kFileExtsKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts";
constexpr int kFilesAndFoldersLocalMachine = 3;

bool IsStringKind(ValueKind kind) { return kind == ValueKind::String || kind == ValueKind::ExpandString; }

// Outside 64-bit Windows 7 and 8, an empty default value alone still leaves a class key unused.
// A default value of a kind that is neither text, integer nor bytes (a multi-string, say) is
// data nobody asked us to read, so such a key is kept.
bool IsUnusedClassKey(RegistryCursor& cursor, const KeyInfo& info) {
  if (info.subkeyCount != 0) return false;
  if (info.valueCount == 0) return true;
  if (info.valueCount != 1 || !IsStringKind(cursor.GetValueKind(""))) return false;
  return cursor.ReadString("").empty();
}

void ScanMachineClasses(ScanContext& context) {
  std::unique_ptr<RegistryCursor> cursor = context.NewCursor();
  cursor->SetRoot(RootKey::LocalMachine);
  if (!cursor->OpenKey(kMachineClassesKey)) return;
  std::vector<std::string> names;
  cursor->GetSubkeyNames(names);
  const bool wow64Win7Or8 = context.Flags().IsWin7Or8 && context.Flags().IsWow64;
  for (const std::string& name : names) {
    context.ShowScannedKey(std::string(kMachineClassesKey) + "\\" + name);
    if (cursor->OpenKey(name)) {
      const KeyInfo info = cursor->GetKeyInfo();
      bool report = false;
      // An empty default value is the only value a reported key can hold.
      const Why why = info.valueCount == 0 ? Why::EmptyKey : Why::EmptyDefault;
      if (wow64Win7Or8) {
        report = info.subkeyCount == 0 && info.valueCount == 0;
      } else {
        const ValueKind defaultKind = cursor->GetValueKind("");
        report = defaultKind != ValueKind::Integer && defaultKind != ValueKind::Binary &&
                 IsUnusedClassKey(*cursor, info);
      }
      if (report) {
        context.AddRow(std::string("HKEY_LOCAL_MACHINE\\") + kMachineClassesKey, name,
                       RepairAction::DeleteNamedSubkey, context.Reason(why));
      }
    }
    cursor->CloseKey();
    if (!cursor->OpenKey(kMachineClassesKey)) return;
  }
}

void ScanUserFileExts(ScanContext& context) {
  std::unique_ptr<RegistryCursor> cursor = context.NewCursor();
  cursor->SetRoot(RootKey::CurrentUser);
  if (!cursor->OpenKey(kFileExtsKey)) return;
  std::vector<std::string> names;
  cursor->GetSubkeyNames(names);
  cursor->CloseKey();
  const ScanFlags& flags = context.Flags();
  std::unique_ptr<RegistryCursor> entry = context.NewCursor();
  entry->SetRoot(RootKey::CurrentUser);
  for (const std::string& name : names) {
    const std::string path = std::string(kFileExtsKey) + "\\" + name;
    context.ShowScannedKey(path);
    bool report = false;
    if (flags.IsWin7Or8 && flags.IsWow64) {
      if (entry->OpenKey(path)) {
        const KeyInfo info = entry->GetKeyInfo();
        report = info.subkeyCount == 0 && info.valueCount == 0;
      }
      entry->CloseKey();
    } else {
      report = CountKeyEntries(context, RootKey::CurrentUser, path) == 0 && !(flags.IsWin7Or8 && name == ".");
    }
    if (report) {
      context.AddRow(std::string("HKEY_CURRENT_USER\\") + kFileExtsKey, name, RepairAction::DeleteNamedSubkey,
                     context.Reason(Why::EmptyKey));
    }
  }
}

}  // namespace

void ScanFileExtensions(ScanContext& context) {
  ScanMachineClasses(context);
  ScanUserFileExts(context);
}

void ClassIdWalk(ScanContext& context, std::string_view rootName, const std::string& path, const std::string& name) {
  const std::optional<RootKey> root = ParseRootName(rootName);
  if (!root) return;
  const std::string keyPath = path + name;
  std::unique_ptr<RegistryCursor> cursor = context.NewCursor();
  cursor->SetRoot(*root);
  if (!cursor->OpenKey(keyPath)) return;
  context.ShowScannedKey(keyPath);
  if (IsStringKind(cursor->GetValueKind(""))) {
    const std::string server = cursor->ReadString("");
    // Only the key holding the broken default goes (a server subkey, say), not the whole class.
    if (IsBrokenReference(context, server, "", FolderMatch::FilesOnly)) {
      context.AddRow(std::string(rootName) + "\\" + keyPath, server, RepairAction::DeleteKey,
                     context.Reason(Why::MissingFile, ReferencedPath(context, server)));
    }
  }
  std::vector<std::string> names;
  cursor->GetSubkeyNames(names);
  for (const std::string& subkey : names) ClassIdWalk(context, rootName, keyPath + "\\", subkey);
}

void InterfaceScan(ScanContext& context) {
  std::unique_ptr<RegistryCursor> cursor = context.NewCursor();
  cursor->SetRoot(RootKey::ClassesRoot);
  std::vector<std::string> typeLibs;
  if (cursor->OpenKey("TypeLib")) cursor->GetSubkeyNames(typeLibs);
  cursor->CloseKey();
  if (!cursor->OpenKey("Interface")) return;
  std::vector<std::string> names;
  cursor->GetSubkeyNames(names);
  cursor->CloseKey();
  std::unique_ptr<RegistryCursor> entry = context.NewCursor();
  entry->SetRoot(RootKey::ClassesRoot);
  for (const std::string& name : names) {
    const std::string path = "Interface\\" + name;
    entry->CloseKey();
    if (!entry->OpenKey(path)) continue;
    context.ShowScannedKey(path);
    if (!IsStringKind(entry->GetValueKind(""))) continue;
    const std::string interfaceName = entry->ReadString("");
    if (!entry->OpenKey("TypeLib") || !IsStringKind(entry->GetValueKind(""))) continue;
    const std::string typeLib = entry->ReadString("");
    const bool registered = !typeLib.empty() && std::any_of(typeLibs.begin(), typeLibs.end(), [&](const std::string& lib) {
      return ContainsText(lib, typeLib);
    });
    if (!registered) {
      context.AddRow("HKEY_CLASSES_ROOT\\" + path, interfaceName + " - " + typeLib, RepairAction::DeleteKey,
                     typeLib.empty() ? context.Reason(Why::NoTypeLib) : context.Reason(Why::TypeLibNotRegistered, typeLib));
    }
  }
}

void ScanCustomControls(ScanContext& context) {
  // The machine-wide files and folders walk already tests the class servers.
  if (!context.RunIncludes(kFilesAndFoldersLocalMachine)) ClassIdWalk(context, "HKEY_CLASSES_ROOT", "CLSID", "");
  InterfaceScan(context);
}

}  // namespace quillet
