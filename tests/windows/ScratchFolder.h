#pragma once

#include <string>
#include <string_view>

// A folder of its own for each Windows test, C:\QuilletTests\<suite>_<test>, made empty when
// the test starts and removed with everything in it when it ends.
namespace quillet::testing {

class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::string& path() const { return path_; }  // UTF-8, no trailing backslash
  std::string At(std::string_view relative) const { return path_ + "\\" + std::string(relative); }

 private:
  std::string path_;
};

// Direct file access for test set-up, independent of the implementations under test.
void PutFile(std::string_view path, std::string_view bytes);
std::string GetFileOrEmpty(std::string_view path, bool* exists = nullptr);
// The file's bytes as they are on disk, or "<no file>" when it cannot be opened.
std::string ReadBytes(const std::wstring& path);
void RemoveTree(const std::wstring& path);

}  // namespace quillet::testing
