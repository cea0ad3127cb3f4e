#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The file system as Windows shows it: drive-letter paths with "\" separators, names compared
// without regard to case. Paths are UTF-8.
namespace quillet {

enum class DriveType { Unknown, NoRootDir, Removable, Fixed, Remote, CdRom, RamDisk };

struct FolderEntry {
  std::string name;  // without the folder
  bool isFolder = false;
  bool isHidden = false;
  bool isSystem = false;
  bool isReadOnly = false;
  bool isReparsePoint = false;  // a symbolic link or junction: its folder may lie anywhere, even above it
};

struct FileDetails {
  uint64_t size = 0;
  int64_t lastWriteTime = 0;  // seconds since 1970-01-01 UTC
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // root is a drive root such as "c:\".
  virtual DriveType GetDriveType(std::string_view root) = 0;
  // The drive holds a readable volume (a volume query on the root succeeds).
  virtual bool IsVolumeReady(std::string_view root) = 0;

  // The existence probes. A file exists when a directory search for the name finds an entry that
  // is not a folder, so wildcard characters in the name match as a pattern. A folder exists when
  // the name's attributes can be read and include the folder flag.
  virtual bool FileExists(std::string_view path) = 0;
  virtual bool FolderExists(std::string_view path) = 0;

  // Entries of a folder matching the pattern ("*" for all), without "." and "..".
  virtual std::vector<FolderEntry> ListFolder(std::string_view folder, std::string_view pattern = "*") = 0;

  // Expands %NAME% references the way the system does; empty when the expansion fails or does
  // not fit in maxLength characters (1024 by default, as the checker's buffer).
  virtual std::optional<std::string> ExpandEnvironment(std::string_view text, size_t maxLength = 1024) = 0;
  virtual std::optional<std::string> GetEnvironmentVariable(std::string_view name) = 0;

  [[nodiscard]] virtual bool CopyFile(std::string_view from, std::string_view to, bool failIfExists) = 0;
  // Creates the folder and every missing parent; true when the folder exists afterwards.
  [[nodiscard]] virtual bool CreateFolderTree(std::string_view path) = 0;
  virtual std::optional<FileDetails> GetFileDetails(std::string_view path) = 0;
  [[nodiscard]] virtual bool DeleteFile(std::string_view path) = 0;

  // Whole-file reads and writes for the program's own files (backups, reports, settings).
  virtual std::optional<std::string> ReadFile(std::string_view path) = 0;
  // Creates or truncates the file. The data is on disk (flushed) when this returns true.
  [[nodiscard]] virtual bool WriteFile(std::string_view path, std::string_view bytes) = 0;
  // Appends, creating the file when it is missing. The data is on disk when this returns true;
  // after false part of it may be (a full disk).
  [[nodiscard]] virtual bool AppendFile(std::string_view path, std::string_view bytes) = 0;
  // Cuts an existing file back to its first size bytes.
  [[nodiscard]] virtual bool TruncateFile(std::string_view path, uint64_t size) = 0;
};

}  // namespace quillet
