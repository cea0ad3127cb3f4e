#pragma once

#include "platform/FileSystem.h"

// The file system through the W functions of the Windows API. Stateless; any thread may call.
namespace quillet::win32 {

class Win32FileSystem : public FileSystem {
 public:
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
};

}  // namespace quillet::win32
