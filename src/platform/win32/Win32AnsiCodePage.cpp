#include "platform/win32/Win32AnsiCodePage.h"

#include "platform/win32/WideString.h"
#include "platform/win32/Win32.h"

namespace quillet::win32 {

std::optional<std::string> Win32AnsiCodePage::FromUtf8(std::string_view utf8) {
  if (utf8.empty()) return std::string();
  const int utf8Length = static_cast<int>(utf8.size());
  int wideLength = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), utf8Length, nullptr, 0);
  if (wideLength == 0) return std::nullopt;
  std::wstring wide(static_cast<size_t>(wideLength), L'\0');
  ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), utf8Length, wide.data(), wideLength);

  // A UTF-8 system code page takes neither the best-fit flag nor the default-character check.
  const bool utf8System = ::GetACP() == CP_UTF8;
  const DWORD flags = utf8System ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
  BOOL usedDefault = FALSE;
  BOOL* usedDefaultSlot = utf8System ? nullptr : &usedDefault;
  int ansiLength = ::WideCharToMultiByte(CP_ACP, flags, wide.data(), wideLength, nullptr, 0, nullptr, usedDefaultSlot);
  if (ansiLength == 0 || usedDefault) return std::nullopt;
  std::string ansi(static_cast<size_t>(ansiLength), '\0');
  ::WideCharToMultiByte(CP_ACP, flags, wide.data(), wideLength, ansi.data(), ansiLength, nullptr, usedDefaultSlot);
  if (usedDefault) return std::nullopt;
  return ansi;
}

std::string Win32AnsiCodePage::ToUtf8(std::string_view ansi) {
  if (ansi.empty()) return {};
  const int ansiLength = static_cast<int>(ansi.size());
  int wideLength = ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), ansiLength, nullptr, 0);
  std::wstring wide(static_cast<size_t>(wideLength), L'\0');
  ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), ansiLength, wide.data(), wideLength);
  return win32::ToUtf8(wide);
}

}  // namespace quillet::win32
