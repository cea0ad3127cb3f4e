#include "host/HostScratch.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <string>

namespace quillet::testing {

HostScratchFolder::HostScratchFolder() {
  static std::atomic<int> counter{0};
  path_ = std::filesystem::temp_directory_path() /
          ("quillet-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
  std::filesystem::remove_all(path_);
  std::filesystem::create_directories(path_);
}

HostScratchFolder::~HostScratchFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::filesystem::path HostScratchFolder::HostPathOf(std::string_view windowsPath) const {
  std::string relative(windowsPath.substr(3));
  for (char& c : relative) {
    if (c == '\\') c = '/';
  }
  return path_ / relative;
}

}  // namespace quillet::testing
