#pragma once

#include <optional>
#include <string>

// Facts about the running system and process.
namespace quillet {

enum class PlatformId { Windows9x, WindowsNt };

struct OsVersion {
  PlatformId platform = PlatformId::WindowsNt;
  unsigned major = 6;
  unsigned minor = 1;
};

class SystemInfo {
 public:
  virtual ~SystemInfo() = default;
  virtual OsVersion GetOsVersion() = 0;
  // The answer of IsWow64Process for this process; empty when the system lacks the function.
  virtual std::optional<bool> QueryWow64Process() = 0;
  // Folder of the running executable, with a trailing backslash.
  virtual std::string ExecutableFolder() = 0;
};

}  // namespace quillet
