#include "platform/memory/IniProfile.h"

#include "base/Utf16.h"

#include <cstdint>
#include <optional>

#include "platform/AnsiCodePage.h"
#include "platform/memory/Windows1252.h"
#include "platform/FileSystem.h"
#include "platform/memory/PathRules.h"
#include "base/TextCompare.h"

namespace quillet {
namespace {

constexpr size_t kMaxValueLength = 2047;  // the system's read buffer holds 2048 characters
constexpr size_t kIntegerTextLength = 29;  // the system reads integers through a 30-character buffer

enum class Encoding { Ansi, Utf8Bom, Utf16Le };

// One character of a UTF-8 text at position i: its code point and byte length. A stray byte
// reads as U+FFFD of length 1.
std::pair<char32_t, size_t> NextCodePoint(std::string_view text, size_t i) {
  auto byte = static_cast<unsigned char>(text[i]);
  size_t length = byte < 0x80 ? 1 : (byte & 0xE0) == 0xC0 ? 2 : (byte & 0xF0) == 0xE0 ? 3 : (byte & 0xF8) == 0xF0 ? 4 : 0;
  if (length == 0 || i + length > text.size()) return {0xFFFD, 1};
  char32_t c = length == 1 ? byte : length == 2 ? (byte & 0x1F) : length == 3 ? (byte & 0x0F) : (byte & 0x07);
  for (size_t k = 1; k < length; ++k) {
    auto next = static_cast<unsigned char>(text[i + k]);
    if ((next & 0xC0) != 0x80) return {0xFFFD, 1};
    c = (c << 6) | (next & 0x3F);
  }
  return {c, length};
}

// Without a code page of its own the profile reads and writes Windows-1252, the host's model.
AnsiCodePage& CodePageOrDefault(AnsiCodePage* ansi) {
  static memory::Windows1252 windows1252;
  return ansi ? *ansi : windows1252;
}

std::string AnsiToUtf8(std::string_view bytes, AnsiCodePage* ansi) { return CodePageOrDefault(ansi).ToUtf8(bytes); }

// Characters the code page lacks become "?", as the system's conversion writes them.
std::string Utf8ToAnsi(std::string_view text, AnsiCodePage* ansi) {
  AnsiCodePage& codePage = CodePageOrDefault(ansi);
  if (auto whole = codePage.FromUtf8(text)) return *whole;
  std::string out;
  for (size_t i = 0; i < text.size();) {
    auto [c, length] = NextCodePoint(text, i);
    std::optional<std::string> bytes = codePage.FromUtf8(text.substr(i, length));
    out += bytes ? *bytes : "?";
    i += length;
  }
  return out;
}

std::string Utf16LeToUtf8(std::string_view bytes) {
  std::string out;
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    char32_t unit = static_cast<unsigned char>(bytes[i]) | (static_cast<unsigned char>(bytes[i + 1]) << 8);
    if (unit >= 0xD800 && unit < 0xDC00 && i + 3 < bytes.size()) {
      char32_t low = static_cast<unsigned char>(bytes[i + 2]) | (static_cast<unsigned char>(bytes[i + 3]) << 8);
      if (low >= 0xDC00 && low < 0xE000) {
        AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
        i += 2;
        continue;
      }
    }
    AppendUtf8(out, unit >= 0xD800 && unit < 0xE000 ? 0xFFFD : unit);
  }
  return out;
}

std::string Utf8ToUtf16Le(std::string_view text) {
  std::string out;
  auto put = [&out](char32_t unit) {
    out += static_cast<char>(unit & 0xFF);
    out += static_cast<char>((unit >> 8) & 0xFF);
  };
  for (size_t i = 0; i < text.size();) {
    auto [c, length] = NextCodePoint(text, i);
    if (c >= 0x10000) {
      put(0xD800 + ((c - 0x10000) >> 10));
      put(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
      put(c);
    }
    i += length;
  }
  return out;
}

struct DecodedFile {
  Encoding encoding = Encoding::Ansi;
  std::string text;  // UTF-8
};

DecodedFile Decode(std::string_view bytes, AnsiCodePage* ansi) {
  if (bytes.starts_with("\xFF\xFE")) return {Encoding::Utf16Le, Utf16LeToUtf8(bytes.substr(2))};
  if (bytes.starts_with("\xEF\xBB\xBF")) return {Encoding::Utf8Bom, std::string(bytes.substr(3))};
  return {Encoding::Ansi, AnsiToUtf8(bytes, ansi)};
}

// Blanks as the profile functions trim them; Ctrl+Z counts too, old editors end files with it.
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f' || c == 0x1A; }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

enum class LineKind { Blank, Comment, Section, Key };

struct Line {
  std::string text;  // without its line end
  std::string end;   // "\r\n", "\n", "\r" or nothing on the last line
  LineKind kind = LineKind::Blank;
  std::string name;                  // section or key name, trimmed
  std::optional<std::string> value;  // trimmed; none for a key line without "="
};

Line ClassifyLine(std::string text, std::string end) {
  Line line{std::move(text), std::move(end)};
  std::string_view content = Trim(line.text);
  if (content.empty()) return line;
  if (content.front() == ';') {
    line.kind = LineKind::Comment;
    return line;
  }
  if (content.front() == '[') {
    size_t close = content.rfind(']');
    if (close != std::string_view::npos && close > 0) {
      line.kind = LineKind::Section;
      line.name = std::string(Trim(content.substr(1, close - 1)));
      return line;
    }
  }
  line.kind = LineKind::Key;
  size_t equals = content.find('=');
  line.name = std::string(Trim(content.substr(0, equals)));
  if (equals != std::string_view::npos) line.value = std::string(Trim(content.substr(equals + 1)));
  return line;
}

std::vector<Line> SplitLines(std::string_view text) {
  std::vector<Line> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      lines.push_back(ClassifyLine(std::string(text.substr(start)), ""));
      break;
    }
    size_t endLength = (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1;
    lines.push_back(ClassifyLine(std::string(text.substr(start, end - start)), std::string(text.substr(end, endLength))));
    start = end + endLength;
  }
  return lines;
}

// Lines [first, last) of the first section with the name; keys before any header form the
// section with the empty name. Later sections of the same name are not read, as the system does.
struct SectionRange {
  size_t header = 0;  // index of the header line; npos for the unnamed leading section
  size_t first = 0;
  size_t last = 0;
};

std::optional<SectionRange> FindSection(const std::vector<Line>& lines, std::string_view section) {
  std::string_view wanted = Trim(section);
  size_t i = 0;
  if (wanted.empty()) {
    while (i < lines.size() && lines[i].kind != LineKind::Section) ++i;
    return SectionRange{std::string::npos, 0, i};
  }
  for (; i < lines.size(); ++i) {
    if (lines[i].kind != LineKind::Section || !SameText(lines[i].name, wanted)) continue;
    size_t end = i + 1;
    while (end < lines.size() && lines[end].kind != LineKind::Section) ++end;
    return SectionRange{i, i + 1, end};
  }
  return std::nullopt;
}

std::optional<size_t> FindKey(const std::vector<Line>& lines, const SectionRange& range, std::string_view key) {
  std::string_view wanted = Trim(key);
  for (size_t i = range.first; i < range.last; ++i) {
    if (lines[i].kind == LineKind::Key && SameText(lines[i].name, wanted)) return i;
  }
  return std::nullopt;
}

// At most `units` UTF-16 code units of a UTF-8 text, never half a surrogate pair.
std::string CutToUtf16Units(std::string text, size_t units) {
  size_t used = 0, i = 0;
  while (i < text.size()) {
    auto [c, length] = NextCodePoint(text, i);
    size_t needed = c >= 0x10000 ? 2 : 1;
    if (used + needed > units) break;
    used += needed;
    i += length;
  }
  text.resize(i);
  return text;
}

std::string ProfileValue(std::string value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return CutToUtf16Units(std::move(value), kMaxValueLength);
}

// A file as its bytes lie: the byte-order mark, and lines in the file's own encoding with their
// line ends, so a write can put back every line it does not change byte for byte.
struct FileLayout {
  Encoding encoding = Encoding::Ansi;
  std::string bom;
};

FileLayout LayoutOf(std::string_view bytes) {
  if (bytes.starts_with("\xFF\xFE")) return {Encoding::Utf16Le, "\xFF\xFE"};
  if (bytes.starts_with("\xEF\xBB\xBF")) return {Encoding::Utf8Bom, "\xEF\xBB\xBF"};
  return {};
}

struct RawLine {
  std::string bytes;  // without the line end
  std::string end;
};

size_t UnitSize(Encoding encoding) { return encoding == Encoding::Utf16Le ? 2 : 1; }

// The code unit at i: a byte, or a UTF-16LE unit (a lone last byte counts as no line end).
char32_t UnitAt(std::string_view bytes, size_t i, Encoding encoding) {
  if (encoding != Encoding::Utf16Le) return static_cast<unsigned char>(bytes[i]);
  if (i + 1 >= bytes.size()) return 0xFFFF;
  return static_cast<unsigned char>(bytes[i]) | (static_cast<unsigned char>(bytes[i + 1]) << 8);
}

std::vector<RawLine> SplitRawLines(std::string_view bytes, Encoding encoding) {
  std::vector<RawLine> lines;
  const size_t unit = UnitSize(encoding);
  size_t start = 0;
  size_t i = 0;
  while (i < bytes.size()) {
    const char32_t c = UnitAt(bytes, i, encoding);
    if (c != '\r' && c != '\n') {
      i += unit;
      continue;
    }
    size_t endLength = unit;
    if (c == '\r' && i + unit < bytes.size() && UnitAt(bytes, i + unit, encoding) == '\n') endLength += unit;
    lines.push_back({std::string(bytes.substr(start, i - start)), std::string(bytes.substr(i, endLength))});
    i += endLength;
    start = i;
  }
  if (start < bytes.size()) lines.push_back({std::string(bytes.substr(start)), ""});
  return lines;
}

std::string DecodeLine(std::string_view bytes, Encoding encoding, AnsiCodePage* ansi) {
  switch (encoding) {
    case Encoding::Utf16Le: return Utf16LeToUtf8(bytes);
    case Encoding::Utf8Bom: return std::string(bytes);
    case Encoding::Ansi: break;
  }
  return AnsiToUtf8(bytes, ansi);
}

std::string EncodeText(std::string_view text, Encoding encoding, AnsiCodePage* ansi) {
  switch (encoding) {
    case Encoding::Utf16Le: return Utf8ToUtf16Le(text);
    case Encoding::Utf8Bom: return std::string(text);
    case Encoding::Ansi: break;
  }
  return Utf8ToAnsi(text, ansi);
}

// A key line up to its first "=" (without it); the whole line when it has none.
std::string KeyPartOf(std::string_view bytes, Encoding encoding) {
  for (size_t i = 0; i < bytes.size(); i += UnitSize(encoding)) {
    if (UnitAt(bytes, i, encoding) == '=') return std::string(bytes.substr(0, i));
  }
  return std::string(bytes);
}

}  // namespace

IniProfile::IniProfile(FileSystem& files, AnsiCodePage* ansi) : files_(files), ansi_(ansi) {}

std::string IniProfile::ReadString(std::string_view file, std::string_view section, std::string_view key,
                                   std::string_view defaultValue) {
  // The system drops trailing blanks of the default.
  while (!defaultValue.empty() && defaultValue.back() == ' ') defaultValue.remove_suffix(1);
  std::string fallback = CutToUtf16Units(std::string(defaultValue), kMaxValueLength);
  auto bytes = files_.ReadFile(file);
  if (!bytes) return fallback;
  std::vector<Line> lines = SplitLines(Decode(*bytes, ansi_).text);
  auto range = FindSection(lines, section);
  if (!range) return fallback;
  auto index = FindKey(lines, *range, key);
  if (!index || !lines[*index].value) return fallback;
  return ProfileValue(*lines[*index].value);
}

int IniProfile::ReadInteger(std::string_view file, std::string_view section, std::string_view key, int defaultValue) {
  std::string text = ReadString(file, section, key, "");
  if (text.empty()) return defaultValue;
  return ParseProfileInteger(CutToUtf16Units(std::move(text), kIntegerTextLength));
}

int IniProfile::ParseProfileInteger(std::string_view value) {
  size_t i = 0;
  while (i < value.size() && static_cast<unsigned char>(value[i]) <= ' ') ++i;
  bool negative = false;
  if (i < value.size() && (value[i] == '-' || value[i] == '+')) negative = value[i++] == '-';
  uint32_t base = 10;
  if (i + 1 < value.size() && value[i] == '0') {
    char prefix = value[i + 1];
    base = prefix == 'x' ? 16 : prefix == 'o' ? 8 : prefix == 'b' ? 2 : 10;
    if (base != 10) i += 2;
  }
  uint32_t result = 0;
  for (; i < value.size(); ++i) {
    char c = value[i];
    uint32_t digit = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'z' ? c - 'a' + 10 : c >= 'A' && c <= 'Z' ? c - 'A' + 10 : 99;
    if (digit >= base) break;
    result = result * base + digit;
  }
  if (negative) result = 0u - result;
  return static_cast<int>(result);
}

std::vector<std::string> IniProfile::ReadSectionKeys(std::string_view file, std::string_view section) {
  std::vector<std::string> keys;
  auto bytes = files_.ReadFile(file);
  if (!bytes) return keys;
  std::vector<Line> lines = SplitLines(Decode(*bytes, ansi_).text);
  auto range = FindSection(lines, section);
  if (!range) return keys;
  for (size_t i = range->first; i < range->last; ++i) {
    if (lines[i].kind == LineKind::Key && lines[i].value) keys.push_back(lines[i].name);
  }
  return keys;
}

bool IniProfile::WriteString(std::string_view file, std::string_view section, std::string_view key,
                             std::string_view value) {
  const std::string bytes = files_.ReadFile(file).value_or(std::string());
  const FileLayout layout = LayoutOf(bytes);
  std::string_view body = std::string_view(bytes).substr(layout.bom.size());
  // A lone last byte of a UTF-16 file is no character; it stays last, so the lines added before
  // it keep their alignment.
  std::string_view loneByte;
  if (layout.encoding == Encoding::Utf16Le && body.size() % 2 != 0) {
    loneByte = body.substr(body.size() - 1);
    body.remove_suffix(1);
  }
  std::vector<RawLine> raw = SplitRawLines(body, layout.encoding);
  std::vector<Line> lines;
  lines.reserve(raw.size());
  for (const RawLine& line : raw) lines.push_back(ClassifyLine(DecodeLine(line.bytes, layout.encoding, ansi_), ""));

  const auto encode = [&](std::string_view text) { return EncodeText(text, layout.encoding, ansi_); };
  const std::string lineEnd = encode("\r\n");
  const std::string keyName(Trim(key));
  const auto insert = [&](size_t at, const std::string& text) {
    raw.insert(raw.begin() + static_cast<std::ptrdiff_t>(at), RawLine{encode(text), lineEnd});
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), ClassifyLine(text, ""));
  };
  auto terminate = [&](size_t index) {
    if (raw[index].end.empty()) raw[index].end = lineEnd;
  };

  // Only the line of the key changes (or one line, and a header, are added): every other byte of
  // the file stays as it was, whatever the code page makes of it.
  auto range = FindSection(lines, section);
  if (!range) {
    if (!raw.empty()) terminate(raw.size() - 1);
    insert(raw.size(), "[" + std::string(Trim(section)) + "]");
    insert(raw.size(), keyName + "=" + std::string(value));
  } else if (auto index = FindKey(lines, *range, keyName)) {
    // The key keeps its spelling in the file: the line is kept up to its "=".
    raw[*index].bytes = KeyPartOf(raw[*index].bytes, layout.encoding) + encode("=") + encode(value);
  } else {
    // A new key goes after the section's last non-blank line, ahead of the blank lines that
    // separate it from the next section.
    size_t insertAt = range->last;
    while (insertAt > range->first && lines[insertAt - 1].kind == LineKind::Blank) --insertAt;
    if (insertAt > 0) terminate(insertAt - 1);
    insert(insertAt, keyName + "=" + std::string(value));
  }

  std::string out = layout.bom;
  for (const RawLine& line : raw) out += line.bytes + line.end;
  out += loneByte;
  return files_.WriteFile(file, out);
}

}  // namespace quillet
