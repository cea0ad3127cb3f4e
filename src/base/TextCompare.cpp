#include "base/TextCompare.h"

namespace quillet {
namespace {

char32_t UpperCodePoint(char32_t c) {
  if (c >= U'a' && c <= U'z') return c - 0x20;
  if (c < 0x80) return c;
  if ((c >= 0xE0 && c <= 0xFE && c != 0xF7)) return c - 0x20;
  if (c == 0xFF) return 0x178;
  if (c >= 0x100 && c <= 0x17F) {
    // Latin Extended-A pairs upper/lower as even/odd, shifted by one in two runs.
    bool oddRun = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
    if (c == 0x131 || c == 0x138 || c == 0x149 || c == 0x17F) return c;
    if (oddRun) return (c % 2 == 0) ? c - 1 : c;
    return (c % 2 == 1) ? c - 1 : c;
  }
  if (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) return c - 0x20;
  if (c >= 0x430 && c <= 0x44F) return c - 0x20;
  if (c >= 0x450 && c <= 0x45F) return c - 0x50;
  return c;
}

}  // namespace

// Upper-casing keeps every character's byte length, so the text is changed in place.
void UpperCaseInPlace(std::string& out) {
  const size_t size = out.size();
  for (size_t i = 0; i < size; ++i) {
    auto byte = static_cast<unsigned char>(out[i]);
    if (byte < 0x80) {
      if (byte >= 'a' && byte <= 'z') out[i] = static_cast<char>(byte - 0x20);
      continue;
    }
    // Two-byte sequences cover every letter that changes; longer ones and stray bytes pass through.
    if ((byte & 0xE0) == 0xC0 && i + 1 < size && (static_cast<unsigned char>(out[i + 1]) & 0xC0) == 0x80) {
      char32_t c = ((byte & 0x1F) << 6) | (static_cast<unsigned char>(out[i + 1]) & 0x3F);
      if (c >= 0x80) {
        const char32_t upper = UpperCodePoint(c);
        out[i] = static_cast<char>(0xC0 | (upper >> 6));
        out[i + 1] = static_cast<char>(0x80 | (upper & 0x3F));
        ++i;
      }
    }
  }
}

std::string UpperCase(std::string_view text) {
  std::string out(text);
  UpperCaseInPlace(out);
  return out;
}

// The fast paths below rest on this: every byte of a non-ASCII character stays at or above 0x80
// when upper-cased, and ASCII bytes upper-case on their own. So when one side is ASCII, two texts
// match exactly where their bytes match after ASCII upper-casing, with no copy made.
namespace {

bool IsAscii(std::string_view text) {
  for (char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 0x20) : c; }

bool AsciiFoldedEqual(std::string_view a, std::string_view b) {
  for (size_t i = 0; i < a.size(); ++i) {
    if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
  }
  return true;
}

}  // namespace

bool SameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;  // upper-casing keeps the byte length
  if (a == b) return true;
  if (IsAscii(b) || IsAscii(a)) return AsciiFoldedEqual(a, b);
  return UpperCase(a) == UpperCase(b);
}

size_t FindText(std::string_view text, std::string_view needle, size_t from) {
  if (IsAscii(needle)) {
    if (from > text.size() || needle.size() > text.size() - from) return std::string_view::npos;
    for (size_t at = from; at + needle.size() <= text.size(); ++at) {
      if (AsciiFoldedEqual(text.substr(at, needle.size()), needle)) return at;
    }
    return std::string_view::npos;
  }
  // Upper-casing keeps every character's byte length, so positions carry over unchanged.
  return UpperCase(text).find(UpperCase(needle), from);
}

bool ContainsText(std::string_view text, std::string_view needle) {
  return FindText(text, needle) != std::string_view::npos;
}

bool StartsWithText(std::string_view text, std::string_view prefix) {
  if (IsAscii(prefix)) return prefix.size() <= text.size() && AsciiFoldedEqual(text.substr(0, prefix.size()), prefix);
  return UpperCase(text).starts_with(UpperCase(prefix));
}

bool EndsWithText(std::string_view text, std::string_view suffix) {
  if (IsAscii(suffix)) {
    return suffix.size() <= text.size() && AsciiFoldedEqual(text.substr(text.size() - suffix.size()), suffix);
  }
  return UpperCase(text).ends_with(UpperCase(suffix));
}

}  // namespace quillet
