#include "settings/TextCompare.h"

#include "platform/Utf16.h"

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

std::string UpperCase(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    auto byte = static_cast<unsigned char>(text[i]);
    if (byte < 0x80) {
      out += (byte >= 'a' && byte <= 'z') ? static_cast<char>(byte - 0x20) : static_cast<char>(byte);
      ++i;
      continue;
    }
    // Two-byte sequences cover every letter that changes; longer ones and stray bytes pass through.
    if ((byte & 0xE0) == 0xC0 && i + 1 < text.size() && (static_cast<unsigned char>(text[i + 1]) & 0xC0) == 0x80) {
      char32_t c = ((byte & 0x1F) << 6) | (static_cast<unsigned char>(text[i + 1]) & 0x3F);
      if (c >= 0x80) {
        AppendUtf8(out, UpperCodePoint(c));
        i += 2;
        continue;
      }
    }
    out += text[i];
    ++i;
  }
  return out;
}

bool SameText(std::string_view a, std::string_view b) {
  if (a.size() == b.size() && a == b) return true;
  return UpperCase(a) == UpperCase(b);
}

size_t FindText(std::string_view text, std::string_view needle, size_t from) {
  // Upper-casing keeps every character's byte length, so positions carry over unchanged.
  return UpperCase(text).find(UpperCase(needle), from);
}

bool ContainsText(std::string_view text, std::string_view needle) {
  return UpperCase(text).find(UpperCase(needle)) != std::string::npos;
}

bool StartsWithText(std::string_view text, std::string_view prefix) {
  return UpperCase(text).starts_with(UpperCase(prefix));
}

bool EndsWithText(std::string_view text, std::string_view suffix) {
  return UpperCase(text).ends_with(UpperCase(suffix));
}

}  // namespace quillet
