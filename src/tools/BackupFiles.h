#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

class Clock;
class FileSystem;

// One row of the backup list: the file's name, its last-write time and its size as shown.
struct BackupFileRow {
  std::string name;
  std::string date;
  std::string size;
};

// The extension of a file name: from its last "." on, when that dot lies in the last part of the
// path; empty otherwise.
std::string_view FileExtension(std::string_view path);
// ".reg" in any case.
bool HasRegExtension(std::string_view path);
// The name unchanged when it ends in ".reg" in any case, else with ".reg" appended.
std::string WithRegExtension(std::string path);
// The folder with one trailing backslash.
std::string WithTrailingBackslash(std::string folder);

// Kilobytes rounded up, "," between groups of three digits whatever the locale, then " KB".
std::string BackupSizeText(uint64_t bytes);

// The list order of two file names: by name, descending and without regard to case, so that the
// newest of the time-stamped backups comes first. Below zero: first comes before second.
int CompareBackupNames(std::string_view first, std::string_view second);

// Every file of the folder whose extension is ".reg" in any case (folders never), in the order
// the folder gives them.
std::vector<BackupFileRow> ListBackupFiles(FileSystem& files, Clock& clock, std::string_view folder);

}  // namespace quillet
