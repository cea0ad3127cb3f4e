#pragma once

#include <string>
#include <string_view>

// UTF-8 in the core, UTF-16 at the Windows API: conversions happen here only.
namespace quillet::win32 {

std::wstring ToWide(std::string_view utf8);
std::string ToUtf8(std::wstring_view wide);

}  // namespace quillet::win32
