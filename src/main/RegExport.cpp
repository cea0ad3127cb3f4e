#include "main/RegExport.h"

#include <cstdio>
#include <optional>
#include <vector>

#include "base/Utf16.h"

namespace quillet {
namespace {

constexpr std::string_view kHeader = "REGEDIT4";
constexpr std::string_view kLineEnd = "\r\n";
// After the comma that follows every 25th byte (but the first) a hex list goes on on a new line.
constexpr size_t kBytesPerContinuation = 25;

std::string Describe(std::string_view what, std::string_view name) {
  return std::string(what) + " \"" + std::string(name) + "\" has no exact form in a REGEDIT4 file";
}

// The ANSI bytes of a UTF-8 text that fits on one line of the file. A NUL has no form in it: the
// registry editor would end the name there and bring back another key or value.
std::optional<std::string> LineText(AnsiCodePage& ansi, std::string_view utf8) {
  if (utf8.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos) return std::nullopt;
  return ansi.FromUtf8(utf8);
}

std::string AnsiOrRefuse(AnsiCodePage& ansi, std::string_view utf8, std::string_view what) {
  auto bytes = LineText(ansi, utf8);
  if (!bytes) throw ExportNotRepresentable(Describe(what, utf8));
  return std::move(*bytes);
}

// The ANSI text whose conversion back gives exactly these UTF-16LE bytes, NULs included; none
// for an odd byte count, an unpaired surrogate or a character outside the code page.
std::optional<std::string> ExactAnsiOfUtf16(AnsiCodePage& ansi, const std::vector<uint8_t>& data) {
  if (data.size() % 2 != 0) return std::nullopt;
  const std::string utf8 = Utf8FromUtf16Le(data.data(), data.size(), false);
  if (Utf16LeBytes(utf8, false) != data) return std::nullopt;
  auto bytes = ansi.FromUtf8(utf8);
  if (!bytes || ansi.ToUtf8(*bytes) != utf8) return std::nullopt;
  return bytes;
}

// One NUL-terminated UTF-16 string and nothing else, without line breaks: the quoted form.
bool IsCleanString(const std::vector<uint8_t>& data) {
  if (data.size() < 2 || data.size() % 2 != 0) return false;
  for (size_t i = 0; i + 2 < data.size(); i += 2) {
    const uint16_t unit = static_cast<uint16_t>(data[i] | (data[i + 1] << 8));
    if (unit == 0 || unit == '\r' || unit == '\n') return false;
  }
  return data[data.size() - 2] == 0 && data.back() == 0;
}

std::string Quoted(std::string_view inner) {
  std::string out;
  out.reserve(inner.size() + 2);
  out += '"';
  out += inner;
  out += '"';
  return out;
}

std::string HexList(std::string prefix, const uint8_t* bytes, size_t size) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string out = std::move(prefix);
  out.reserve(out.size() + size * 3 + size / kBytesPerContinuation * 3);
  for (size_t i = 0; i < size; ++i) {
    out += kDigits[bytes[i] >> 4];
    out += kDigits[bytes[i] & 0x0F];
    if (i + 1 == size) break;
    out += ',';
    if (i > 0 && i % kBytesPerContinuation == 0) {
      out += '\\';
      out += kLineEnd;
    }
  }
  return out;
}

std::string HexPrefix(uint32_t type) {
  if (type == regtype::kBinary) return "hex:";
  char prefix[24];
  std::snprintf(prefix, sizeof(prefix), "hex(%x):", static_cast<unsigned>(type));
  return prefix;
}

std::string AnsiHex(uint32_t type, AnsiCodePage& ansi, const RegistryValue& value) {
  auto text = ExactAnsiOfUtf16(ansi, value.data);
  if (!text) throw ExportNotRepresentable(Describe("the data of value", value.name));
  return HexList(HexPrefix(type), reinterpret_cast<const uint8_t*>(text->data()), text->size());
}

// Appends the sections to the backup file, with the "REGEDIT4" line first when the file is new.
void AppendWhole(FileSystem& files, const std::string& path, std::string_view sections) {
  const auto failed = [&path] { return ExportWriteFailed("cannot write the registry backup file \"" + path + "\""); };
  const bool existed = files.FileExists(path);
  std::optional<FileDetails> before;
  if (existed && !(before = files.GetFileDetails(path))) throw failed();
  const std::string bytes =
      existed ? std::string(sections) : std::string(kHeader) + std::string(kLineEnd) + std::string(sections);
  if (files.AppendFile(path, bytes)) return;
  // A write that stopped part way (a full disk) must not leave half a section for a restore to import.
  // The clean-up is all that can be tried; the failure is reported either way.
  if (existed) {
    (void)files.TruncateFile(path, before->size);
  } else {
    (void)files.DeleteFile(path);
  }
  throw failed();
}

}  // namespace

std::string EscapeBackslashes(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    if (c == '\\') out += '\\';
    out += c;
  }
  return out;
}

std::string EscapeQuotes(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    if (c == '"') out += '\\';
    out += c;
  }
  return out;
}

std::string RegDataPart(const RegistryValue& value, AnsiCodePage& ansi) {
  switch (value.type) {
    case regtype::kString:
      if (IsCleanString(value.data)) {
        const std::string text = Utf8FromUtf16Le(value.data.data(), value.data.size());
        if (!ExactAnsiOfUtf16(ansi, value.data)) throw ExportNotRepresentable(Describe("the text of value", value.name));
        return Quoted(AnsiOrRefuse(ansi, EscapeQuotes(EscapeBackslashes(text)), "the text of value"));
      }
      // Embedded NULs, a missing terminator or line breaks: the quoted form would lose or break them.
      return AnsiHex(value.type, ansi, value);
    case regtype::kExpandString:
    case regtype::kMultiString:
      return AnsiHex(value.type, ansi, value);
    case regtype::kDword:
      if (value.data.size() == 4) {
        const uint32_t number = static_cast<uint32_t>(value.data[0]) | (static_cast<uint32_t>(value.data[1]) << 8) |
                                (static_cast<uint32_t>(value.data[2]) << 16) |
                                (static_cast<uint32_t>(value.data[3]) << 24);
        char digits[16];
        std::snprintf(digits, sizeof(digits), "%08X", static_cast<unsigned>(number));
        return std::string("dword:") + digits;
      }
      break;
    default:
      break;
  }
  return HexList(HexPrefix(value.type), value.data.data(), value.data.size());
}

RegKeyWriter::RegKeyWriter(RegistryCursor& cursor, AnsiCodePage& ansi, ExportScope scope, std::string_view valueName)
    : cursor_(cursor), ansi_(ansi), wholeKey_(scope == ExportScope::WholeKey), valueName_(valueName) {}

std::string RegKeyWriter::WriteKeyLine(const std::string& path) {
  std::string keyLine = "[";
  keyLine += RootName(cursor_.Root());
  keyLine += '\\';
  keyLine += path;
  keyLine += ']';
  text_ += kLineEnd;
  text_ += AnsiOrRefuse(ansi_, keyLine, "key");
  text_ += kLineEnd;
  if (!cursor_.OpenKey("\\" + path)) throw ExportIncomplete("the key \"" + keyLine + "\" does not open for reading");
  return keyLine;
}

void RegKeyWriter::WriteRegSection(const std::string& path, const std::vector<std::string>& valueNames) {
  WriteKeyLine(path);
  keys_.push_back({path, {}});
  std::vector<RegistryValue> values;
  for (const std::string& name : valueNames) WriteValueLine(name, values);
  keys_.back().values = std::move(values);
  cursor_.CloseKey();
}

std::string RegFileText(std::string_view sections) {
  return std::string(kHeader) + std::string(kLineEnd) + std::string(sections);
}

// Depth first without recursion: a key's values, then its first subkey with everything below
// it, then the next; a deep tree costs heap, not stack.
void RegKeyWriter::WriteRegKey(const std::string& path) {
  std::vector<std::string> pending{path};
  while (!pending.empty()) {
    const std::string next = std::move(pending.back());
    pending.pop_back();
    std::vector<std::string> subkeyNames = WriteOneKey(next);
    for (size_t i = subkeyNames.size(); i-- > 0;) pending.push_back(next + "\\" + subkeyNames[i]);
  }
}

std::vector<std::string> RegKeyWriter::WriteOneKey(const std::string& path) {
  const std::string keyLine = WriteKeyLine(path);
  const size_t index = keys_.size();
  keys_.push_back({path, {}});
  std::vector<RegistryValue> values;
  if (!wholeKey_) {
    WriteValueLine(valueName_, values);
    keys_[index].values = std::move(values);
    return {};
  }
  std::vector<std::string> valueNames;
  std::vector<std::string> subkeyNames;
  const KeyInfo info = cursor_.GetKeyInfo();
  cursor_.GetValueNames(valueNames);
  cursor_.GetSubkeyNames(subkeyNames);
  // A listing cut short by an error leaves something out.
  if (valueNames.size() < info.valueCount || subkeyNames.size() < info.subkeyCount) {
    throw ExportIncomplete("the key \"" + keyLine + "\" could not be listed");
  }
  for (const std::string& name : valueNames) WriteValueLine(name, values);
  keys_[index].values = std::move(values);
  cursor_.CloseKey();
  return subkeyNames;
}

void RegKeyWriter::WriteValueLine(const std::string& name, std::vector<RegistryValue>& values) {
  text_ += name.empty() ? std::string("@")
                        : Quoted(AnsiOrRefuse(ansi_, EscapeQuotes(EscapeBackslashes(name)), "value name"));
  text_ += '=';
  std::optional<RegistryValue> value = cursor_.ReadRawValue(name);
  if (!value) throw ExportIncomplete("the value \"" + name + "\" could not be read");
  text_ += RegDataPart(*value, ansi_);
  text_ += kLineEnd;
  values.push_back(std::move(*value));
}

std::vector<ExportedKey> ExportToRegFile(const RegExportContext& context, std::string_view filePath, RootKey root,
                                         ExportScope scope, std::string_view valueName, std::string_view keyPath) {
  if (keyPath.ends_with('\\')) keyPath.remove_suffix(1);
  auto cursor = context.store.NewCursor();
  cursor->SetRoot(root);
  // Reading needs no more: a key that grants reading and deleting but not writing is backed up too.
  cursor->SetReadOnly();
  RegKeyWriter writer(*cursor, context.ansi, scope, valueName);
  writer.WriteRegKey(std::string(keyPath));
  cursor.reset();
  AppendWhole(context.files, std::string(filePath), writer.Text());
  return writer.Keys();
}

}  // namespace quillet
