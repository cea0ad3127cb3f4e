#pragma once

#include "platform/AnsiCodePage.h"

namespace quillet::win32 {

// The system's ANSI code page (CP_ACP). A text is written only when every character has an
// exact form: no best-fit substitutes, no default character.
class Win32AnsiCodePage final : public AnsiCodePage {
 public:
  std::optional<std::string> FromUtf8(std::string_view utf8) override;
  std::string ToUtf8(std::string_view ansi) override;
};

}  // namespace quillet::win32
