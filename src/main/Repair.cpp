#include "main/Repair.h"

#include "settings/RegGlobal.h"

namespace quillet {
namespace {
// The path from the root, as the cursor takes it.
std::string FromRoot(std::string_view keyPath) {
  std::string path(1, '\\');
  path.append(keyPath);
  return path;
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
  if (!root) return false;
  auto cursor = backup.context.store.NewCursor();
  cursor->SetRoot(*root);
  const std::string path = FromRoot(keyPath);
  if (!cursor->KeyExists(path)) return false;
  try {
    ExportToRegFile(backup.context, backup.file, *root, ExportScope::WholeKey, "", keyPath);
  } catch (const ExportNotRepresentable&) {
    // The key cannot be brought back exactly from the file, so it stays in the registry.
    return false;
  }
  return cursor->DeleteKey(path);
}

bool DeleteValueWithBackup(const BackupTarget& backup, std::string_view rootName, std::string_view keyPath,
                           std::string_view valueName) {
  const std::optional<RootKey> root = ParseRootName(rootName);
  if (!root) return false;
  auto cursor = backup.context.store.NewCursor();
  cursor->SetRoot(*root);
  if (!cursor->OpenKey(FromRoot(keyPath)) || !cursor->ValueExists(valueName)) return false;
  try {
    ExportToRegFile(backup.context, backup.file, *root, ExportScope::OneValue, valueName, keyPath);
  } catch (const ExportNotRepresentable&) {
    return false;
  }
  return cursor->DeleteValue(valueName);
}

}  // namespace quillet
