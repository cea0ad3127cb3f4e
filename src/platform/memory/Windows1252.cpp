#include "platform/memory/Windows1252.h"

#include <cstdint>

#include "base/Utf16.h"

namespace quillet::memory {
namespace {

// Bytes 0x80 to 0x9F; 0 marks the undefined ones. Every other byte is its own code point.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

std::optional<char> ByteOf(char32_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
  for (size_t i = 0; i < std::size(kHighControls); ++i) {
    if (kHighControls[i] != 0 && kHighControls[i] == c) return static_cast<char>(0x80 + i);
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string> Windows1252::FromUtf8(std::string_view utf8) {
  std::string ansi;
  ansi.reserve(utf8.size());
  size_t pos = 0;
  while (pos < utf8.size()) {
    // A malformed sequence decodes as U+FFFD, which has no form here either.
    auto byte = ByteOf(NextCodePoint(utf8, pos));
    if (!byte) return std::nullopt;
    ansi += *byte;
  }
  return ansi;
}

std::string Windows1252::ToUtf8(std::string_view ansi) {
  std::string utf8;
  utf8.reserve(ansi.size());
  for (char ch : ansi) {
    auto byte = static_cast<uint8_t>(ch);
    char32_t c = byte;
    if (byte >= 0x80 && byte < 0xA0 && kHighControls[byte - 0x80] != 0) c = kHighControls[byte - 0x80];
    AppendUtf8(utf8, c);
  }
  return utf8;
}

}  // namespace quillet::memory
