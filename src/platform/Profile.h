#pragma once

#include <string>
#include <string_view>
#include <vector>

// INI files read and written the way the system's profile functions do it: whitespace trimmed,
// one pair of quotes removed, sections and keys compared without regard to case, the first of
// duplicate keys wins, ";" lines are comments, values cut at 2047 characters. Each call opens
// the file afresh; nothing is cached.
namespace quillet {

class Profile {
 public:
  virtual ~Profile() = default;
  virtual std::string ReadString(std::string_view file, std::string_view section, std::string_view key,
                                 std::string_view defaultValue) = 0;
  // Integers as the system reads them: leading digits (and sign), anything else gives the default.
  virtual int ReadInteger(std::string_view file, std::string_view section, std::string_view key,
                          int defaultValue) = 0;
  // Key names of a section in file order; empty when the section or file is missing.
  virtual std::vector<std::string> ReadSectionKeys(std::string_view file, std::string_view section) = 0;
  // Creates the file and the section when missing; false when the file cannot be written.
  [[nodiscard]] virtual bool WriteString(std::string_view file, std::string_view section, std::string_view key,
                           std::string_view value) = 0;
};

}  // namespace quillet
