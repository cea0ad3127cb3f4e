#include "platform/memory/PathRules.h"

#include "base/TextCompare.h"

namespace quillet::pathrules {
namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool IsRefusedCharacter(char c) {
  auto byte = static_cast<unsigned char>(c);
  return byte < 0x20 || c == '<' || c == '>' || c == '|' || c == '"' || c == ':';
}

// Code points of a UTF-8 text; a stray byte counts as one character of its own.
std::u32string CodePoints(std::string_view text) {
  std::u32string out;
  size_t i = 0;
  while (i < text.size()) {
    auto byte = static_cast<unsigned char>(text[i]);
    size_t length = byte < 0x80 ? 1 : (byte & 0xE0) == 0xC0 ? 2 : (byte & 0xF0) == 0xE0 ? 3 : (byte & 0xF8) == 0xF0 ? 4 : 0;
    bool valid = length > 0 && i + length <= text.size();
    for (size_t k = 1; valid && k < length; ++k) valid = (static_cast<unsigned char>(text[i + k]) & 0xC0) == 0x80;
    if (!valid) {
      out += static_cast<char32_t>(0xDC00 | byte);  // keeps the byte distinct from real letters
      ++i;
      continue;
    }
    char32_t c = length == 1 ? byte : length == 2 ? (byte & 0x1F) : length == 3 ? (byte & 0x0F) : (byte & 0x07);
    for (size_t k = 1; k < length; ++k) c = (c << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
    out += c;
    i += length;
  }
  return out;
}

}  // namespace

std::optional<DrivePath> ParseDrivePath(std::string_view path) {
  if (path.size() < 2 || path[1] != ':') return std::nullopt;
  char letter = path[0];
  if (letter >= 'a' && letter <= 'z') letter = static_cast<char>(letter - 'a' + 'A');
  if (letter < 'A' || letter > 'Z') return std::nullopt;
  std::string_view rest = path.substr(2);
  if (!rest.empty() && !IsSeparator(rest.front())) return std::nullopt;

  DrivePath result;
  result.drive = letter;
  result.trailingSeparator = rest.size() > 1 && IsSeparator(rest.back());
  size_t start = 0;
  while (start < rest.size()) {
    size_t end = start;
    while (end < rest.size() && !IsSeparator(rest[end])) ++end;
    std::string part(rest.substr(start, end - start));
    start = end + 1;
    if (part == ".") continue;
    if (part == "..") {
      if (!result.parts.empty()) result.parts.pop_back();
      continue;
    }
    while (!part.empty() && (part.back() == '.' || part.back() == ' ')) part.pop_back();
    if (part.empty()) continue;
    for (char c : part) {
      if (IsRefusedCharacter(c)) return std::nullopt;
    }
    result.parts.push_back(std::move(part));
  }
  if (result.parts.empty()) result.trailingSeparator = false;
  return result;
}

bool HasWildcards(std::string_view name) { return name.find_first_of("*?") != std::string_view::npos; }

bool MatchesPattern(std::string_view name, std::string_view pattern) {
  const std::u32string n = CodePoints(UpperCase(name));
  const std::u32string p = CodePoints(UpperCase(pattern));
  size_t ni = 0, pi = 0;
  size_t starPattern = std::u32string::npos, starName = 0;
  while (ni < n.size()) {
    if (pi < p.size() && p[pi] == U'*') {
      starPattern = pi++;
      starName = ni;
    } else if (pi < p.size() && (p[pi] == U'?' || p[pi] == n[ni])) {
      ++pi;
      ++ni;
    } else if (starPattern != std::u32string::npos) {
      pi = starPattern + 1;
      ni = ++starName;
    } else {
      return false;
    }
  }
  while (pi < p.size() && (p[pi] == U'*' || p[pi] == U'.')) ++pi;
  return pi == p.size();
}

size_t Utf16Length(std::string_view utf8) {
  size_t units = 0;
  for (char32_t c : CodePoints(utf8)) units += c >= 0x10000 ? 2 : 1;
  return units;
}

std::optional<std::string> ExpandVariables(std::string_view text,
                                           const std::function<std::optional<std::string>(std::string_view)>& lookup,
                                           size_t maxLength) {
  std::string out;
  size_t i = 0;
  while (i < text.size()) {
    if (text[i] != '%') {
      out += text[i++];
      continue;
    }
    size_t close = text.find('%', i + 1);
    if (close == std::string_view::npos) {
      out += text.substr(i);
      break;
    }
    std::string_view name = text.substr(i + 1, close - i - 1);
    std::optional<std::string> value = name.empty() ? std::nullopt : lookup(name);
    out += value ? std::string_view(*value) : text.substr(i, close - i + 1);
    i = close + 1;
  }
  if (Utf16Length(out) + 1 > maxLength) return std::nullopt;
  return out;
}

}  // namespace quillet::pathrules
