#include "tools/BackupFiles.h"

#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "base/TextCompare.h"

namespace quillet {

std::string_view FileExtension(std::string_view path) {
  const size_t dot = path.find_last_of(".\\:");
  if (dot == std::string_view::npos || path[dot] != '.') return {};
  return path.substr(dot);
}

bool HasRegExtension(std::string_view path) { return UpperCase(FileExtension(path)) == ".REG"; }

std::string WithRegExtension(std::string path) {
  if (!HasRegExtension(path)) path += ".reg";
  return path;
}

std::string WithTrailingBackslash(std::string folder) {
  if (folder.empty() || folder.back() != '\\') folder += '\\';
  return folder;
}

std::string BackupSizeText(uint64_t bytes) {
  const uint64_t kilobytes = bytes / 1024 + (bytes % 1024 != 0 ? 1 : 0);
  const std::string digits = std::to_string(kilobytes);
  std::string text;
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) text += ',';
    text += digits[i];
  }
  return text + " KB";
}

int CompareBackupNames(std::string_view first, std::string_view second) {
  return UpperCase(second).compare(UpperCase(first));
}

std::vector<BackupFileRow> ListBackupFiles(FileSystem& files, Clock& clock, std::string_view folder) {
  const std::string prefix = WithTrailingBackslash(std::string(folder));
  std::vector<BackupFileRow> rows;
  for (const FolderEntry& entry : files.ListFolder(folder, "*")) {
    if (entry.isFolder || !HasRegExtension(entry.name)) continue;
    const std::optional<FileDetails> details = files.GetFileDetails(prefix + entry.name);
    // A file gone between the listing and the look at it is not shown.
    if (!details) continue;
    rows.push_back({entry.name, clock.FormatDateTime(details->lastWriteTime), BackupSizeText(details->size)});
  }
  return rows;
}

}  // namespace quillet
