#include "platform/memory/FixedSystemInfo.h"

namespace quillet {

FixedSystemInfo& FixedSystemInfo::osVersion(PlatformId platform, unsigned major, unsigned minor) {
  std::lock_guard lock(mutex_);
  version_ = {platform, major, minor};
  return *this;
}

FixedSystemInfo& FixedSystemInfo::wow64(std::optional<bool> answer) {
  std::lock_guard lock(mutex_);
  wow64_ = answer;
  return *this;
}

FixedSystemInfo& FixedSystemInfo::executableFolder(std::string folder) {
  std::lock_guard lock(mutex_);
  executableFolder_ = std::move(folder);
  return *this;
}

OsVersion FixedSystemInfo::GetOsVersion() {
  std::lock_guard lock(mutex_);
  return version_;
}

std::optional<bool> FixedSystemInfo::QueryWow64Process() {
  std::lock_guard lock(mutex_);
  return wow64_;
}

std::string FixedSystemInfo::ExecutableFolder() {
  std::lock_guard lock(mutex_);
  return executableFolder_;
}

}  // namespace quillet
