#pragma once

#include <string>
#include <string_view>

#include "main/RegExport.h"

// Removing a startup entry always leaves a way back: a registry value is first appended to a
// backup file the Restore dialog lists, a shortcut is first copied into the backup folder.
namespace quillet {

enum class RemovalResult {
  Removed,
  NotRemoved,    // the entry was gone already, or the system refused the delete
  BackupFailed,  // no backup could be written, so the entry was left as it was
};

// Appends the value to backupFile (made in its folder, which is created when missing), then
// deletes the value; the empty name is the key's default value.
RemovalResult RemoveValueWithBackup(const RegExportContext& context, const std::string& backupFile, RootKey root,
                                    std::string_view keyPath, std::string_view valueName);

// The folder inside the backup folder that receives the copies of removed shortcuts.
std::string ShortcutBackupFolder(std::string_view backupFolder);

// Copies the shortcut into ShortcutBackupFolder under its own name ("name (2).lnk" and so on
// when an earlier copy has that name), then deletes it through the shell.
RemovalResult RemoveShortcutWithBackup(FileSystem& files, std::string_view backupFolder, const std::string& folder,
                                       const std::string& fileName);

}  // namespace quillet
