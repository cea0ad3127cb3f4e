#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/ForwardingFileSystem.h"
#include "platform/ProbeAnswerTable.h"

namespace quillet {

// Remembers the answers of the existence probes for the length of one scan. A scan asks about
// the same folders and program paths again and again (every value of a folder, every prefix of
// a command line), and on Windows each probe is a directory search. Keys are the paths
// upper-cased, as the file system compares names without regard to case. Any write through this
// object forgets everything. At most capacity answers are kept, in two generations (the older
// one dropped when the recent one is full), so the memory of a scan stays bounded whatever the
// registry's size. One scan thread uses it; it is not for sharing.
class ProbeCacheFileSystem final : public ForwardingFileSystem {
 public:
  static constexpr size_t kDefaultCapacity = 1u << 16;

  explicit ProbeCacheFileSystem(FileSystem& inner, size_t capacity = kDefaultCapacity);

  void Clear() {
    recent_.Clear();
    older_.Clear();
  }
  size_t Size() const { return recent_.Size() + older_.Size(); }

  bool FileExists(std::string_view path) override;
  bool FolderExists(std::string_view path) override;
  bool CopyFile(std::string_view from, std::string_view to, bool failIfExists) override;
  bool CreateFolderTree(std::string_view path) override;
  bool DeleteFile(std::string_view path) override;
  bool WriteFile(std::string_view path, std::string_view bytes) override;
  bool AppendFile(std::string_view path, std::string_view bytes) override;
  bool TruncateFile(std::string_view path, uint64_t size) override;

 private:
  // Per path: which of the two questions have been answered, and the answers.
  enum Bits : uint8_t { kFileKnown = 1, kFile = 2, kFolderKnown = 4, kFolder = 8 };

  bool Ask(std::string_view path, uint8_t known, uint8_t yes, bool (FileSystem::*probe)(std::string_view));

  std::string key_;  // the path upper-cased, in a buffer kept between probes
  ProbeAnswerTable recent_;
  ProbeAnswerTable older_;
};

}  // namespace quillet
