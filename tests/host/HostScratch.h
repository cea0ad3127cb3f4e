#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// A host folder of its own for each test, removed when the test ends.
namespace quillet::testing {

class HostScratchFolder {
 public:
  HostScratchFolder();
  ~HostScratchFolder();
  HostScratchFolder(const HostScratchFolder&) = delete;
  HostScratchFolder& operator=(const HostScratchFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // The host path of a Windows path on a drive mapped onto this folder: "C:\A\b" → <folder>/A/b.
  std::filesystem::path HostPathOf(std::string_view windowsPath) const;

 private:
  std::filesystem::path path_;
};

}  // namespace quillet::testing
