#include "main/Repair.h"

#include "scan/SystemContainerKeys.h"
#include "settings/RegGlobal.h"

namespace quillet {
namespace {
// The path from the root, as the cursor takes it.
std::string FromRoot(std::string_view keyPath) {
  std::string path(1, '\\');
  path.append(keyPath);
  return path;
}

bool SameValue(const RegistryValue& a, const RegistryValue& b) { return a.type == b.type && a.data == b.data; }

// The key still holds exactly what its backup section holds, subkeys aside.
bool HoldsOnlyBackedUp(RegistryCursor& cursor, const ExportedKey& saved) {
  std::vector<std::string> names;
  cursor.GetValueNames(names);
  if (names.size() != cursor.GetKeyInfo().valueCount) return false;
  for (const std::string& name : names) {
    const RegistryValue* backedUp = nullptr;
    for (const RegistryValue& value : saved.values) {
      if (value.name == name) backedUp = &value;
    }
    const std::optional<RegistryValue> now = cursor.ReadRawValue(name);
    if (!backedUp || !now || !SameValue(*backedUp, *now)) return false;
  }
  return true;
}

// Deletes the backed-up keys deepest first, each only when it has no subkey left and holds no
// value that is not in the backup as it is now: a key or value that appeared or changed since the
// backup stays, and so do the keys above it. True when the top key is gone.
bool DeleteBackedUpTree(RegistryCursor& cursor, const std::vector<ExportedKey>& keys) {
  bool deleted = false;
  for (size_t i = keys.size(); i-- > 0;) {
    const std::string path = FromRoot(keys[i].path);
    bool removable = false;
    if (cursor.OpenKey(path)) {
      std::vector<std::string> subkeys;
      cursor.GetSubkeyNames(subkeys);
      removable = subkeys.empty() && cursor.GetKeyInfo().subkeyCount == 0 && HoldsOnlyBackedUp(cursor, keys[i]);
      cursor.CloseKey();
    }
    deleted = removable && cursor.DeleteKeyOnly(path);
  }
  return deleted;  // the last one tried is the top key
}
}  // namespace

std::string MakeBackupFileName(std::string_view outputDirectory, const LocalDateTime& now) {
  std::string name(outputDirectory);
  if (!name.ends_with('\\')) name += '\\';
  name += "Backup";
  name += std::to_string(now.year);
  for (int part : {now.month, now.day, now.hour, now.minute, now.second}) name += TwoDigits(part);
  name += ".reg";
  return name;
}

bool DeleteKeyWithBackup(const BackupTarget& backup, std::string_view rootName, std::string_view keyPath) {
  const std::optional<RootKey> root = ParseRootName(rootName);
  if (!root || IsSystemContainerKey(*root, keyPath)) return false;
  auto cursor = backup.context.store.NewCursor();
  cursor->SetRoot(*root);
  cursor->SetReadOnly();
  const std::string path = FromRoot(keyPath);
  if (!cursor->KeyExists(path)) return false;
  std::vector<ExportedKey> saved;
  try {
    saved = ExportToRegFile(backup.context, backup.file, *root, ExportScope::WholeKey, "", keyPath);
  } catch (const ExportNotRepresentable&) {
    // The key cannot be brought back exactly from the file, so it stays in the registry.
    return false;
  } catch (const ExportIncomplete&) {
    // Part of the key could not be read, so the file could not bring all of it back.
    return false;
  }
  return DeleteBackedUpTree(*cursor, saved);
}

bool DeleteValueWithBackup(const BackupTarget& backup, std::string_view rootName, std::string_view keyPath,
                           std::string_view valueName) {
  const std::optional<RootKey> root = ParseRootName(rootName);
  if (!root) return false;
  auto cursor = backup.context.store.NewCursor();
  cursor->SetRoot(*root);
  if (!cursor->OpenKey(FromRoot(keyPath)) || !cursor->ValueExists(valueName)) return false;
  std::vector<ExportedKey> saved;
  try {
    saved = ExportToRegFile(backup.context, backup.file, *root, ExportScope::OneValue, valueName, keyPath);
  } catch (const ExportNotRepresentable&) {
    return false;
  } catch (const ExportIncomplete&) {
    return false;
  }
  // A value changed since its backup was read would leave with data the file does not hold.
  const std::optional<RegistryValue> now = cursor->ReadRawValue(valueName);
  if (!now || saved.empty() || saved.front().values.size() != 1 || !SameValue(*now, saved.front().values.front())) {
    return false;
  }
  return cursor->DeleteValue(valueName);
}

}  // namespace quillet
