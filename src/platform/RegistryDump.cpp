#include "platform/RegistryDump.h"

#include <cstdio>

#include "base/Utf16.h"

namespace quillet {
namespace {

std::string Hex(const std::vector<uint8_t>& bytes) {
  std::string out = "hex:";
  char digits[4];
  for (uint8_t byte : bytes) {
    std::snprintf(digits, sizeof(digits), " %02X", byte);
    out += digits;
  }
  return out;
}

std::string Quoted(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 2);
  out.append(1, '"').append(text).append(1, '"');
  return out;
}

// The text stored by these bytes when they are exactly its UTF-16LE form plus one NUL.
bool AsTerminatedText(const std::vector<uint8_t>& data, std::string& text) {
  if (data.size() < 2 || data.size() % 2 != 0) return false;
  text = Utf8FromUtf16Le(data.data(), data.size());
  return Utf16LeBytes(text) == data;
}

bool AsTextList(const std::vector<uint8_t>& data, std::string& shown) {
  if (data.size() < 2 || data.size() % 2 != 0) return false;
  std::string all = Utf8FromUtf16Le(data.data(), data.size(), false);
  // Items are NUL-terminated and the list ends with one more NUL.
  if (all.size() < 1 || all.back() != '\0') return false;
  std::vector<uint8_t> rebuilt;
  shown.assign(1, '[');
  size_t start = 0;
  bool first = true;
  while (start + 1 < all.size()) {
    size_t end = all.find('\0', start);
    std::string item = all.substr(start, end - start);
    if (item.empty()) return false;
    if (!first) shown += ", ";
    shown += Quoted(item);
    first = false;
    std::vector<uint8_t> bytes = Utf16LeBytes(item);
    rebuilt.insert(rebuilt.end(), bytes.begin(), bytes.end());
    start = end + 1;
  }
  rebuilt.push_back(0);
  rebuilt.push_back(0);
  shown += ']';
  return rebuilt == data;
}

std::string FormatData(const RegistryValue& value) {
  const auto& data = value.data;
  char number[32];
  std::string text;
  switch (value.type) {
    case regtype::kString:
    case regtype::kExpandString:
      if (AsTerminatedText(data, text)) return Quoted(text);
      break;
    case regtype::kMultiString:
      if (AsTextList(data, text)) return text;
      break;
    case regtype::kDword:
      if (data.size() == 4) {
        uint32_t v = data[0] | (data[1] << 8) | (data[2] << 16) | (static_cast<uint32_t>(data[3]) << 24);
        std::snprintf(number, sizeof(number), "0x%08X", v);
        return number;
      }
      break;
    case regtype::kQword:
      if (data.size() == 8) {
        unsigned long long v = 0;
        for (int i = 7; i >= 0; --i) v = (v << 8) | data[static_cast<size_t>(i)];
        std::snprintf(number, sizeof(number), "0x%016llX", v);
        return number;
      }
      break;
    default:
      break;
  }
  return Hex(data);
}

void DumpKey(RegistryCursor& cursor, const std::string& shownPath, std::string& out) {
  out += "[" + shownPath + "]\n";
  std::vector<std::string> names;
  cursor.GetValueNames(names);
  for (const std::string& name : names) {
    if (auto value = cursor.ReadRawValue(name)) out += FormatRegistryValue(*value) + "\n";
  }
  std::vector<std::string> subkeys;
  cursor.GetSubkeyNames(subkeys);
  const std::string keyPath = cursor.CurrentPath();
  for (const std::string& subkey : subkeys) {
    const std::string subkeyPath = keyPath.empty() ? subkey : keyPath + "\\" + subkey;
    if (cursor.OpenKey("\\" + subkeyPath)) DumpKey(cursor, shownPath + "\\" + subkey, out);
  }
}

}  // namespace

const char* RegistryTypeName(uint32_t type) {
  static constexpr const char* kNames[] = {
      "REG_NONE",      "REG_SZ",        "REG_EXPAND_SZ",     "REG_BINARY",
      "REG_DWORD",     "REG_DWORD_BIG_ENDIAN", "REG_LINK",   "REG_MULTI_SZ",
      "REG_RESOURCE_LIST", "REG_FULL_RESOURCE_DESCRIPTOR", "REG_RESOURCE_REQUIREMENTS_LIST", "REG_QWORD"};
  return type < std::size(kNames) ? kNames[type] : "";
}

std::string FormatRegistryValue(const RegistryValue& value) {
  std::string out = value.name.empty() ? "@" : Quoted(value.name);
  out += " = ";
  if (*RegistryTypeName(value.type) != '\0') {
    out += RegistryTypeName(value.type);
  } else {
    char type[24];
    std::snprintf(type, sizeof(type), "type 0x%X", value.type);
    out += type;
  }
  return out + " " + FormatData(value);
}

std::string DumpRegistryTree(RegistryStore& store, RootKey root, std::string_view path) {
  auto cursor = store.NewCursor();
  cursor->SetRoot(root);
  cursor->SetReadOnly();
  if (!cursor->OpenKey(path.starts_with('\\') ? std::string(path) : std::string(1, '\\').append(path))) return {};
  std::string out;
  DumpKey(*cursor, ".", out);
  return out;
}

}  // namespace quillet
