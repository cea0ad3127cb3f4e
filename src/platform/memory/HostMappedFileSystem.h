#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileSystem.h"

// A file system over real host folders, for the host scan tool: each drive letter is mapped
// onto a host folder, and paths are looked up the way Windows would see them (drive letters,
// "\" separators, each component found by scanning its host folder without regard to case).
// Letters without a mapping are no drive. The environment is an explicit map. Configure it
// before use; afterwards it only reads its own state, so concurrent callers are safe.
namespace quillet {

struct DriveMapping {
  char letter = 0;  // upper-case
  std::filesystem::path hostFolder;
  DriveType type = DriveType::Fixed;
};

// "L=DIR[:fixed|cdrom|removable|remote]", the tool's --drive argument; the letter in either case.
std::optional<DriveMapping> ParseDriveMapping(std::string_view argument);
// "NAME=VALUE", the tool's --env argument.
std::optional<std::pair<std::string, std::string>> ParseEnvironmentAssignment(std::string_view argument);

class HostMappedFileSystem : public FileSystem {
 public:
  HostMappedFileSystem& mapDrive(const DriveMapping& mapping);
  HostMappedFileSystem& mapDrive(char letter, std::filesystem::path hostFolder, DriveType type = DriveType::Fixed);
  HostMappedFileSystem& env(std::string_view name, std::string_view value);

  uint64_t ProbeCount() const { return probes_.load(); }

  // The host path a Windows path resolves to when every component exists; empty otherwise.
  std::optional<std::filesystem::path> Resolve(std::string_view path) const;

  DriveType GetDriveType(std::string_view root) override;
  bool IsVolumeReady(std::string_view root) override;
  bool FileExists(std::string_view path) override;
  bool FolderExists(std::string_view path) override;
  std::vector<FolderEntry> ListFolder(std::string_view folder, std::string_view pattern = "*") override;
  std::optional<std::string> ExpandEnvironment(std::string_view text, size_t maxLength = 1024) override;
  std::optional<std::string> GetEnvironmentVariable(std::string_view name) override;
  bool CopyFile(std::string_view from, std::string_view to, bool failIfExists) override;
  bool CreateFolderTree(std::string_view path) override;
  std::optional<FileDetails> GetFileDetails(std::string_view path) override;
  bool DeleteFile(std::string_view path) override;
  std::optional<std::string> ReadFile(std::string_view path) override;
  bool WriteFile(std::string_view path, std::string_view bytes) override;
  bool AppendFile(std::string_view path, std::string_view bytes) override;
  bool TruncateFile(std::string_view path, uint64_t size) override;

 private:
  // The host folder that holds the path's last component, and that component as written.
  std::optional<std::filesystem::path> ResolveParent(std::string_view path, std::string* leafName) const;
  bool PutFile(std::string_view path, std::string_view bytes, bool append);

  std::map<char, DriveMapping> drives_;
  std::map<std::string, std::pair<std::string, std::string>> environment_;  // upper-case name → name, value
  mutable std::atomic<uint64_t> probes_{0};
};

}  // namespace quillet
