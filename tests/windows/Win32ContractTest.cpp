// The file-system and profile contracts against the real thing: Wine's files, environment and
// profile functions, each test in a scratch folder of its own under C:\QuilletTests.
#include <vector>

#include "ScratchFolder.h"
#include "contract/FileSystemContract.h"
#include "contract/ProfileContract.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/Win32.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Profile.h"
#include "platform/win32/WideString.h"

namespace quillet::contract {
namespace {

using testing::GetFileOrEmpty;
using testing::PutFile;
using win32::ToWide;

class Win32FileSystemEnv {
 public:
  ~Win32FileSystemEnv() {
    for (const auto& name : variables_) ::SetEnvironmentVariableW(name.c_str(), nullptr);
  }
  FileSystem& fs() { return fs_; }
  std::string root() { return scratch_.path(); }
  void makeFile(std::string_view path, std::string_view contents) { PutFile(path, contents); }
  void makeFolder(std::string_view path) { ASSERT_TRUE(::CreateDirectoryW(ToWide(path).c_str(), nullptr)); }
  void makeReadOnly(std::string_view path) {
    ASSERT_TRUE(::SetFileAttributesW(ToWide(path).c_str(), FILE_ATTRIBUTE_READONLY));
  }
  void setLastWriteTime(std::string_view path, int64_t seconds) {
    win32::UniqueFile file(::CreateFileW(ToWide(path).c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING,
                                         FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(file);
    int64_t ticks = seconds * 10000000LL + 116444736000000000LL;
    FILETIME time{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    ASSERT_TRUE(::SetFileTime(file.get(), nullptr, nullptr, &time));
  }
  std::optional<std::string> contentsOf(std::string_view path) {
    bool exists = false;
    std::string bytes = GetFileOrEmpty(path, &exists);
    if (!exists) return std::nullopt;
    return bytes;
  }
  void setEnv(std::string_view name, std::string_view value) {
    variables_.push_back(ToWide(name));
    ::SetEnvironmentVariableW(variables_.back().c_str(), ToWide(value).c_str());
  }
  // Windows refuses to open a read-only file for writing; Wine run by root does not.
  bool refusesWritesToReadOnlyFiles() {
    std::wstring probe = ToWide(scratch_.At("readonly-probe"));
    PutFile(scratch_.At("readonly-probe"), "");
    ::SetFileAttributesW(probe.c_str(), FILE_ATTRIBUTE_READONLY);
    win32::UniqueFile file(::CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    bool refused = !file;
    file.reset();
    ::SetFileAttributesW(probe.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileW(probe.c_str());
    return refused;
  }
  std::string unusedDriveRoot() {
    DWORD drives = ::GetLogicalDrives();
    for (char letter = 'Y'; letter > 'C'; --letter) {
      std::string root(1, letter);
      if (!(drives & (1u << (letter - 'A')))) return root += ":\\";
    }
    return "?:\\";
  }

 private:
  testing::ScratchFolder scratch_;
  win32::Win32FileSystem fs_;
  std::vector<std::wstring> variables_;
};

class Win32ProfileEnv {
 public:
  Profile& profile() { return profile_; }
  std::string path(std::string_view name) { return scratch_.At(name); }
  void put(std::string_view path, std::string_view bytes) { PutFile(path, bytes); }
  std::optional<std::string> get(std::string_view path) {
    bool exists = false;
    std::string bytes = GetFileOrEmpty(path, &exists);
    if (!exists) return std::nullopt;
    return bytes;
  }

 private:
  testing::ScratchFolder scratch_;
  win32::Win32Profile profile_;
};

INSTANTIATE_TYPED_TEST_SUITE_P(Windows, FileSystemContract, ::testing::Types<Win32FileSystemEnv>);
INSTANTIATE_TYPED_TEST_SUITE_P(Windows, ProfileContract, ::testing::Types<Win32ProfileEnv>);

}  // namespace
}  // namespace quillet::contract
