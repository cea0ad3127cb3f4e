#pragma once

#include <optional>
#include <string>
#include <string_view>

// The system's ANSI code page, which REGEDIT4 files, language files and options.ini are
// written in. The host models it as Windows-1252; Windows asks the system.
namespace quillet {

class AnsiCodePage {
 public:
  virtual ~AnsiCodePage() = default;
  // The ANSI bytes of a UTF-8 text; empty when some character has no exact form in the code page.
  virtual std::optional<std::string> FromUtf8(std::string_view utf8) = 0;
  virtual std::string ToUtf8(std::string_view ansi) = 0;
};

}  // namespace quillet
