// The file-system contract against the in-memory file system and the host-mapped one.
#include <chrono>
#include <fstream>
#include <iterator>

#include "contract/FileSystemContract.h"
#include "host/HostScratch.h"
#include "platform/memory/HostMappedFileSystem.h"
#include "platform/memory/MemoryFileSystem.h"

namespace quillet::contract {
namespace {

constexpr const char* kRoot = "C:\\QuilletTests\\Contract";

class MemoryEnv {
 public:
  MemoryEnv() { fs_.fixedDrive('c').folder(kRoot); }
  FileSystem& fs() { return fs_; }
  std::string root() { return kRoot; }
  void makeFile(std::string_view path, std::string_view contents) { fs_.file(path, contents); }
  void makeFolder(std::string_view path) { fs_.folder(path); }
  void makeReadOnly(std::string_view path) { fs_.attributes(path, {.readOnly = true}); }
  void setLastWriteTime(std::string_view path, int64_t seconds) { fs_.lastWriteTime(path, seconds); }
  // The in-memory store has no other door than its own reads.
  std::optional<std::string> contentsOf(std::string_view path) { return fs_.ReadFile(path); }
  void setEnv(std::string_view name, std::string_view value) { fs_.env(name, value); }
  std::string unusedDriveRoot() { return "Q:\\"; }
  bool refusesWritesToReadOnlyFiles() { return true; }

 private:
  MemoryFileSystem fs_;
};

class HostMappedEnv {
 public:
  HostMappedEnv() {
    fs_.mapDrive('c', scratch_.path());
    std::filesystem::create_directories(scratch_.HostPathOf(kRoot));
  }
  FileSystem& fs() { return fs_; }
  std::string root() { return kRoot; }
  void makeFile(std::string_view path, std::string_view contents) {
    std::ofstream(scratch_.HostPathOf(path), std::ios::binary) << contents;
  }
  void makeFolder(std::string_view path) { std::filesystem::create_directory(scratch_.HostPathOf(path)); }
  void makeReadOnly(std::string_view path) {
    std::filesystem::permissions(scratch_.HostPathOf(path),
                                 std::filesystem::perms::owner_write | std::filesystem::perms::group_write |
                                     std::filesystem::perms::others_write,
                                 std::filesystem::perm_options::remove);
  }
  void setLastWriteTime(std::string_view path, int64_t seconds) {
    auto time = std::chrono::sys_seconds(std::chrono::seconds(seconds));
    std::filesystem::last_write_time(scratch_.HostPathOf(path), std::chrono::file_clock::from_sys(time));
  }
  std::optional<std::string> contentsOf(std::string_view path) {
    std::ifstream in(scratch_.HostPathOf(path), std::ios::binary);
    if (!in) return std::nullopt;
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }
  void setEnv(std::string_view name, std::string_view value) { fs_.env(name, value); }
  std::string unusedDriveRoot() { return "Q:\\"; }
  bool refusesWritesToReadOnlyFiles() { return true; }

 private:
  testing::HostScratchFolder scratch_;
  HostMappedFileSystem fs_;
};

using Implementations = ::testing::Types<MemoryEnv, HostMappedEnv>;
INSTANTIATE_TYPED_TEST_SUITE_P(Host, FileSystemContract, Implementations);

}  // namespace
}  // namespace quillet::contract

