#include "scan/StartupUninstallScans.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/RegistryStore.h"
#include "scan/PathReference.h"
#include "scan/ScanContext.h"
#include "base/TextCompare.h"

namespace quillet {
namespace {

constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kRunOnceKey = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
constexpr const char* kStartupBackupKey = "Software\\Microsoft\\Shared Tools\\MSConfig\\startupreg";
constexpr const char* kUninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

bool IsStringKind(ValueKind kind) { return kind == ValueKind::String || kind == ValueKind::ExpandString; }

// The backup key of disabled startup entries: one subkey per entry, its "command" the program.
void ScanStartupBackupKey(ScanContext& context) {
  std::unique_ptr<RegistryCursor> base = context.NewCursor();
  base->SetRoot(RootKey::LocalMachine);
  if (!base->OpenKey(kStartupBackupKey)) return;
  context.ShowScannedKey(kStartupBackupKey);
  std::vector<std::string> names;
  base->GetSubkeyNames(names);
  for (const std::string& name : names) {
    const std::string path = std::string(kStartupBackupKey) + "\\" + name;
    std::unique_ptr<RegistryCursor> entry = context.NewCursor();
    entry->SetRoot(RootKey::LocalMachine);
    if (!entry->OpenKey(path)) continue;
    context.ShowScannedKey(path);
    if (!IsStringKind(entry->GetValueKind("command"))) continue;
    const std::string command = entry->ReadString("command");
    if (IsBrokenReference(context, command, "", FolderMatch::FilesOnly)) {
      context.AddRow(std::string("HKEY_LOCAL_MACHINE\\") + path, command, RepairAction::DeleteKey,
                     context.Reason(Why::MissingFile, ReferencedPath(context, command)));
    }
  }
}

}  // namespace

void ValueListScan(ScanContext& context, std::string_view rootName, std::string_view keyPath) {
  const std::optional<RootKey> root = ParseRootName(rootName);
  if (!root) return;
  std::unique_ptr<RegistryCursor> cursor = context.NewCursor();
  cursor->SetRoot(*root);
  if (!cursor->OpenKey(keyPath)) return;
  context.ShowScannedKey(std::string(keyPath));
  const std::string keyPrefix = UpperCase(rootName) + "\\" + std::string(keyPath);
  std::vector<std::string> valueNames;
  cursor->GetValueNames(valueNames);
  for (const std::string& valueName : valueNames) {
    if (!IsStringKind(cursor->GetValueKind(valueName))) continue;
    const std::string data = cursor->ReadString(valueName);
    // No program at all is as dead an entry as a missing one.
    const bool empty = data.empty() || data == "\"\"";
    if (!empty && !IsBrokenReference(context, data, "", FolderMatch::FilesOnly)) continue;
    std::string why = empty ? context.Reason(Why::EmptyCommand) : context.Reason(Why::MissingFile, ReferencedPath(context, data));
    if (valueName.find('\\') == std::string::npos) {
      context.AddRow(keyPrefix + "\\" + valueName, data, RepairAction::DeleteValueInPath, std::move(why));
    } else {
      context.AddRow(keyPrefix, valueName, RepairAction::DeleteNamedValue, std::move(why));
    }
  }
}

void ScanStartupPrograms(ScanContext& context) {
  ValueListScan(context, "HKEY_CURRENT_USER", kRunKey);
  ValueListScan(context, "HKEY_CURRENT_USER", kRunOnceKey);
  ValueListScan(context, "HKEY_LOCAL_MACHINE", kRunKey);
  ValueListScan(context, "HKEY_LOCAL_MACHINE", kRunOnceKey);
  try {
    ScanStartupBackupKey(context);
  } catch (const RegistryError&) {
    // A read error in the backup key ends this step silently; the category ends normally.
  }
}

void ScanUninstallEntries(ScanContext& context) {
  std::unique_ptr<RegistryCursor> cursor = context.NewCursor();
  cursor->SetRoot(RootKey::LocalMachine);
  if (!cursor->OpenKey(kUninstallKey)) return;
  std::vector<std::string> names;
  cursor->GetSubkeyNames(names);
  std::vector<std::string> valueNames;
  for (const std::string& name : names) {
    // Entries named by a class identifier belong to the installer and are never examined.
    if (!name.empty() && name.front() == '{') continue;
    const std::string path = std::string(kUninstallKey) + "\\" + name;
    context.ShowScannedKey(path);
    if (cursor->OpenKey(name)) {
      cursor->GetValueNames(valueNames);
      // Case-sensitive on purpose: any name holding the text counts, QuietUninstallString too.
      const bool hasUninstaller = std::any_of(valueNames.begin(), valueNames.end(), [](const std::string& value) {
        return value.find("UninstallString") != std::string::npos;
      });
      if (!hasUninstaller && !cursor->ValueExists("SystemComponent")) {
        context.AddRow(std::string("HKEY_LOCAL_MACHINE\\") + kUninstallKey, name, RepairAction::DeleteNamedSubkey,
                       context.Reason(Why::NoUninstaller));
      }
    }
    cursor->CloseKey();
    if (!cursor->OpenKey(kUninstallKey)) return;
  }
}

}  // namespace quillet
