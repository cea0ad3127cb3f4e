#pragma once

#include "platform/Profile.h"

// INI files through the system's profile functions (the W forms). Stateless.
namespace quillet::win32 {

class Win32Profile : public Profile {
 public:
  std::string ReadString(std::string_view file, std::string_view section, std::string_view key,
                         std::string_view defaultValue) override;
  int ReadInteger(std::string_view file, std::string_view section, std::string_view key, int defaultValue) override;
  std::vector<std::string> ReadSectionKeys(std::string_view file, std::string_view section) override;
  bool WriteString(std::string_view file, std::string_view section, std::string_view key,
                   std::string_view value) override;
};

}  // namespace quillet::win32
