#pragma once

#include <mutex>
#include <optional>
#include <string>

#include "platform/SystemInfo.h"

namespace quillet {

// System facts for host tests: a 32-bit Windows 7 without WOW64, the program in
// "C:\Program Files\Quillet\", unless told otherwise.
class FixedSystemInfo : public SystemInfo {
 public:
  FixedSystemInfo& osVersion(PlatformId platform, unsigned major, unsigned minor);
  // Empty: the system has no IsWow64Process.
  FixedSystemInfo& wow64(std::optional<bool> answer);
  FixedSystemInfo& executableFolder(std::string folder);

  OsVersion GetOsVersion() override;
  std::optional<bool> QueryWow64Process() override;
  std::string ExecutableFolder() override;

 private:
  mutable std::mutex mutex_;
  OsVersion version_{PlatformId::WindowsNt, 6, 1};
  std::optional<bool> wow64_ = false;
  std::string executableFolder_ = "C:\\Program Files\\Quillet\\";
};

}  // namespace quillet
