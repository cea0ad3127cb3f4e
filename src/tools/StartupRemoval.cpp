#include "tools/StartupRemoval.h"

#include "settings/RegGlobal.h"

namespace quillet {
namespace {

std::string FolderOf(std::string_view path) {
  const size_t slash = path.rfind('\\');
  return std::string(path.substr(0, slash == std::string_view::npos ? 0 : slash));
}

// The name itself, then "stem (2).ext", "stem (3).ext"... : an earlier backup is never overwritten.
std::string CandidateName(const std::string& fileName, int attempt) {
  if (attempt == 1) return fileName;
  const size_t dot = fileName.rfind('.');
  const std::string stem = fileName.substr(0, dot);
  const std::string extension = dot == std::string::npos ? "" : fileName.substr(dot);
  return stem + " (" + std::to_string(attempt) + ")" + extension;
}

constexpr int kMostCopiesOfOneName = 1000;

}  // namespace

RemovalResult RemoveValueWithBackup(const RegExportContext& context, const std::string& backupFile, RootKey root,
                                    std::string_view keyPath, std::string_view valueName) {
  auto cursor = context.store.NewCursor();
  cursor->SetRoot(root);
  if (!cursor->OpenKey("\\" + std::string(keyPath)) || !cursor->ValueExists(valueName)) {
    return RemovalResult::NotRemoved;
  }
  if (!context.files.CreateFolderTree(FolderOf(backupFile))) return RemovalResult::BackupFailed;
  try {
    (void)ExportToRegFile(context, backupFile, root, ExportScope::OneValue, valueName, keyPath);
  } catch (const ExportNotRepresentable&) {
    return RemovalResult::BackupFailed;
  } catch (const ExportWriteFailed&) {
    return RemovalResult::BackupFailed;
  } catch (const ExportIncomplete&) {
    return RemovalResult::BackupFailed;
  }
  return cursor->DeleteValue(valueName) ? RemovalResult::Removed : RemovalResult::NotRemoved;
}

std::string ShortcutBackupFolder(std::string_view backupFolder) {
  std::string folder(backupFolder);
  if (!folder.ends_with('\\')) folder += '\\';
  return folder + "Startup";
}

RemovalResult RemoveShortcutWithBackup(FileSystem& files, std::string_view backupFolder, const std::string& folder,
                                       const std::string& fileName) {
  const std::string path = folder + fileName;
  if (!files.FileExists(path)) return RemovalResult::NotRemoved;
  const std::string copies = ShortcutBackupFolder(backupFolder);
  if (!files.CreateFolderTree(copies)) return RemovalResult::BackupFailed;
  bool copied = false;
  for (int attempt = 1; attempt <= kMostCopiesOfOneName && !copied; ++attempt) {
    const std::string copy = copies + "\\" + CandidateName(fileName, attempt);
    if (files.FileExists(copy)) continue;
    copied = files.CopyFile(path, copy, true);
    if (!copied) return RemovalResult::BackupFailed;
  }
  if (!copied) return RemovalResult::BackupFailed;
  return ShellDeleteFile(path) ? RemovalResult::Removed : RemovalResult::NotRemoved;
}

}  // namespace quillet
