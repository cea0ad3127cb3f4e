#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Portable UTF-8 <-> UTF-16LE for registry data as Windows stores it. Malformed input (stray
// bytes, unpaired surrogates) becomes U+FFFD, as the system's own converters do.
namespace quillet {

std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);

// String data in registry form: UTF-16LE code units, with one terminating NUL when asked.
std::vector<uint8_t> Utf16LeBytes(std::string_view utf8, bool terminate = true);
// Decodes UTF-16LE bytes (an odd last byte is dropped), stopping at the first NUL when asked.
std::string Utf8FromUtf16Le(const uint8_t* data, size_t size, bool stopAtNul = true);

// Decodes one code point at text[pos], advancing pos; U+FFFD and one byte for a malformed sequence.
char32_t NextCodePoint(std::string_view text, size_t& pos);
void AppendUtf8(std::string& out, char32_t codePoint);

}  // namespace quillet
