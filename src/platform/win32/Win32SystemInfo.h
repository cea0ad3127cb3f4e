#pragma once

#include "platform/SystemInfo.h"

// System facts from the Windows API. Stateless.
namespace quillet::win32 {

class Win32SystemInfo : public SystemInfo {
 public:
  OsVersion GetOsVersion() override;
  std::optional<bool> QueryWow64Process() override;
  std::string ExecutableFolder() override;
};

}  // namespace quillet::win32
