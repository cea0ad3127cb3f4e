#pragma once

#include "platform/FileSystem.h"

namespace quillet {

// Passes every call on to another file system; a decorator derives from it and overrides only
// the calls it changes.
class ForwardingFileSystem : public FileSystem {
 public:
  explicit ForwardingFileSystem(FileSystem& inner) : inner_(inner) {}

  DriveType GetDriveType(std::string_view root) override { return inner_.GetDriveType(root); }
  bool IsVolumeReady(std::string_view root) override { return inner_.IsVolumeReady(root); }
  bool FileExists(std::string_view path) override { return inner_.FileExists(path); }
  bool FolderExists(std::string_view path) override { return inner_.FolderExists(path); }
  std::vector<FolderEntry> ListFolder(std::string_view folder, std::string_view pattern) override {
    return inner_.ListFolder(folder, pattern);
  }
  std::optional<std::string> ExpandEnvironment(std::string_view text, size_t maxLength) override {
    return inner_.ExpandEnvironment(text, maxLength);
  }
  std::optional<std::string> GetEnvironmentVariable(std::string_view name) override {
    return inner_.GetEnvironmentVariable(name);
  }
  bool CopyFile(std::string_view from, std::string_view to, bool failIfExists) override {
    return inner_.CopyFile(from, to, failIfExists);
  }
  bool CreateFolderTree(std::string_view path) override { return inner_.CreateFolderTree(path); }
  std::optional<FileDetails> GetFileDetails(std::string_view path) override { return inner_.GetFileDetails(path); }
  bool DeleteFile(std::string_view path) override { return inner_.DeleteFile(path); }
  std::optional<std::string> ReadFile(std::string_view path) override { return inner_.ReadFile(path); }
  bool WriteFile(std::string_view path, std::string_view bytes) override { return inner_.WriteFile(path, bytes); }
  bool AppendFile(std::string_view path, std::string_view bytes) override { return inner_.AppendFile(path, bytes); }
  bool TruncateFile(std::string_view path, uint64_t size) override { return inner_.TruncateFile(path, size); }

 protected:
  FileSystem& Inner() const { return inner_; }

 private:
  FileSystem& inner_;
};

}  // namespace quillet
