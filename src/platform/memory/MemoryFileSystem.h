#pragma once

#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <shared_mutex>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileSystem.h"

// An in-memory file system with drive letters, for host tests and host tools. It answers like
// Windows where callers can notice: names without regard to case, "\" separators, directory
// searches with wildcards. Safe for concurrent readers; the builder methods are for set-up.
namespace quillet {

class MemoryFileSystem : public FileSystem {
 public:
  struct Attributes {
    bool hidden = false;
    bool system = false;
    bool readOnly = false;
    bool reparsePoint = false;  // listed as a link; what it holds is modelled as a plain folder
  };
  // 2010-01-01 00:00:00 UTC: what files made by the builder and by writes carry until the
  // clock is set.
  static constexpr int64_t kDefaultTime = 1262304000;

  MemoryFileSystem();
  ~MemoryFileSystem() override;

  // Builder. Drives are declared first; files and folders get their missing parent folders.
  // Paths on undeclared drives throw std::invalid_argument, so a broken fixture shows at once.
  MemoryFileSystem& drive(char letter, DriveType type, bool ready = true);
  MemoryFileSystem& fixedDrive(char letter) { return drive(letter, DriveType::Fixed); }
  MemoryFileSystem& cdromDrive(char letter, bool ready = true) { return drive(letter, DriveType::CdRom, ready); }
  MemoryFileSystem& removableDrive(char letter, bool ready = true) { return drive(letter, DriveType::Removable, ready); }
  MemoryFileSystem& remoteDrive(char letter, bool ready = true) { return drive(letter, DriveType::Remote, ready); }
  MemoryFileSystem& file(std::string_view path, std::string_view contents = {});
  MemoryFileSystem& folder(std::string_view path);
  MemoryFileSystem& attributes(std::string_view path, Attributes attributes);
  MemoryFileSystem& lastWriteTime(std::string_view path, int64_t secondsSince1970);
  MemoryFileSystem& env(std::string_view name, std::string_view value);
  // The time that writes, appends and copies give a file.
  MemoryFileSystem& clock(int64_t secondsSince1970);

  // Failure injection: every write (WriteFile, AppendFile, CopyFile, CreateFolderTree) fails;
  // deletes of one path are refused.
  MemoryFileSystem& failWrites(bool fail = true);
  // Later writes and appends put bytes more bytes in all; the one that goes past them writes what
  // fits and fails, as on a disk that fills up.
  MemoryFileSystem& failWritesAfter(uint64_t bytes);
  MemoryFileSystem& refuseDelete(std::string_view path);

  // FileExists and FolderExists calls made so far (the host scan tool reports it).
  uint64_t ProbeCount() const { return probes_.load(); }
  // ReadFile calls made so far, including those for files that do not exist.
  uint64_t ReadCount() const { return reads_.load(); }
  // Drives, then every folder and file with size and attributes, then the environment.
  std::string Dump() const;

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
  struct Node;
  struct Drive;
  using Children = std::map<std::string, std::unique_ptr<Node>>;  // by upper-case name

  Node* Find(std::string_view path) const;
  Node* FindParentFolder(std::string_view path, std::string* leafName) const;
  Node* MakeFolders(std::string_view path, bool forBuilder);
  Node* NodeForBuilder(std::string_view path) const;
  bool PutFile(std::string_view path, std::string_view bytes, bool append);

  mutable std::shared_mutex mutex_;
  std::map<char, Drive> drives_;
  std::map<std::string, std::pair<std::string, std::string>> environment_;  // upper-case name → name, value
  std::set<std::string> refusedDeletes_;                                    // upper-case paths
  int64_t clock_ = kDefaultTime;
  bool failWrites_ = false;
  std::optional<uint64_t> writeRoom_;  // bytes the disk still takes, when limited
  mutable std::atomic<uint64_t> probes_{0};
  mutable std::atomic<uint64_t> reads_{0};
};

}  // namespace quillet
