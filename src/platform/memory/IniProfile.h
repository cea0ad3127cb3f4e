#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/Profile.h"

namespace quillet {

class AnsiCodePage;
class FileSystem;

// INI files over any FileSystem, read and written by the system's rules (see Profile.h):
// ANSI files in the given code page (Windows-1252 when none is given), and files that start
// with a UTF-16LE or UTF-8 byte-order mark. A write changes only the line of the key it sets
// (or adds one line, and a section header when the section is new) in the file's encoding;
// every other byte stays, even one the code page has no character for. New files are ANSI
// with "\r\n" line ends.
class IniProfile : public Profile {
 public:
  explicit IniProfile(FileSystem& files, AnsiCodePage* ansi = nullptr);

  std::string ReadString(std::string_view file, std::string_view section, std::string_view key,
                         std::string_view defaultValue) override;
  int ReadInteger(std::string_view file, std::string_view section, std::string_view key, int defaultValue) override;
  std::vector<std::string> ReadSectionKeys(std::string_view file, std::string_view section) override;
  bool WriteString(std::string_view file, std::string_view section, std::string_view key,
                   std::string_view value) override;

  // The integer the system reads from a profile value: optional blanks and sign, then "0x",
  // "0o" or "0b" for another base, then digits, wrapping at 32 bits; 0 when there are none.
  static int ParseProfileInteger(std::string_view value);

 private:
  FileSystem& files_;
  AnsiCodePage* ansi_;
};

}  // namespace quillet
