#pragma once

#include "platform/AnsiCodePage.h"

namespace quillet::memory {

// The host's model of the ANSI code page. The five bytes the code page leaves undefined (0x81,
// 0x8D, 0x8F, 0x90, 0x9D) read as the C1 controls of the same number, as the system reads them,
// but no text is written with them: they are not characters of the code page.
class Windows1252 final : public AnsiCodePage {
 public:
  std::optional<std::string> FromUtf8(std::string_view utf8) override;
  std::string ToUtf8(std::string_view ansi) override;
};

}  // namespace quillet::memory
