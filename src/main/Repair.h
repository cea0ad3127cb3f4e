#pragma once

#include <string>
#include <string_view>

#include "main/RegExport.h"
#include "platform/Clock.h"

// The repair's registry steps: each entry is appended to the repair's backup file, and only
// once that section is on disk is the entry deleted.
namespace quillet {

// The backup file of one repair: the folder (a "\" added when missing), "Backup", the local
// date and time as YYYYMMDDhhmmss, ".reg".
std::string MakeBackupFileName(std::string_view outputDirectory, const LocalDateTime& now);

struct BackupTarget {
  RegExportContext context;
  std::string file;  // the repair's backup file
};

// Backs the key up with all its values and subkeys, then deletes it with its whole subtree, no
// more than the backup holds. False (and nothing written) when the root is unknown, the key is
// missing or is one of the system's own container keys; false without a delete when the key has
// no exact form in the backup file or part of it cannot be read. ExportWriteFailed when the
// backup file cannot be written: the file and the key are then left as they were.
[[nodiscard]] bool DeleteKeyWithBackup(const BackupTarget& backup, std::string_view rootName, std::string_view keyPath);
// The same for one value of a key; the empty name is the key's default value.
[[nodiscard]] bool DeleteValueWithBackup(const BackupTarget& backup, std::string_view rootName,
                                         std::string_view keyPath, std::string_view valueName);

}  // namespace quillet
