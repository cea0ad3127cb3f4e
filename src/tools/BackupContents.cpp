#include "tools/BackupContents.h"

#include <cstdio>

#include "base/TextCompare.h"
#include "base/Utf16.h"
#include "main/RegExport.h"
#include "platform/memory/RegFileReader.h"

namespace quillet {
namespace {

std::string Hex(uint64_t number, int digits) {
  char text[24];
  std::snprintf(text, sizeof(text), "0x%0*llx", digits, static_cast<unsigned long long>(number));
  return text;
}

uint64_t LittleEndian(const std::vector<uint8_t>& data, size_t size) {
  uint64_t number = 0;
  for (size_t i = 0; i < size && i < data.size(); ++i) number |= static_cast<uint64_t>(data[i]) << (8 * i);
  return number;
}

std::string HexBytes(const std::vector<uint8_t>& data) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string text;
  for (uint8_t byte : data) {
    if (!text.empty()) text += ' ';
    text += kDigits[byte >> 4];
    text += kDigits[byte & 0x0F];
  }
  return text;
}

}  // namespace

void ReadBackupContents(std::string_view fileBytes, AnsiCodePage& ansi, BackupContents& contents) {
  contents.keys.clear();
  contents.problem.reset();
  std::vector<memory::RegFileSection> sections;
  const std::vector<memory::RegFileProblem> problems = memory::ReadRegFile(fileBytes, ansi, contents.registry, &sections);
  int stopLine = 0;
  if (!problems.empty()) {
    contents.problem = memory::Describe(problems.front());
    stopLine = problems.front().line;
  }
  auto cursor = contents.registry.NewCursor();
  for (const memory::RegFileSection& section : sections) {
    if (contents.problem && section.line >= stopLine) break;
    bool listed = false;
    for (const BackupKey& key : contents.keys) listed = listed || (key.root == section.root && SameText(key.path, section.path));
    if (listed) continue;
    BackupKey key{section.root, section.path, {}, true};
    cursor->SetRoot(section.root);
    if (cursor->OpenKey("\\" + section.path)) {
      std::vector<std::string> names;
      cursor->GetValueNames(names);
      for (const std::string& name : names) {
        if (std::optional<RegistryValue> value = cursor->ReadRawValue(name)) key.values.push_back({std::move(*value), true});
      }
    }
    cursor->CloseKey();
    contents.keys.push_back(std::move(key));
  }
}

std::string SelectedSectionsFile(BackupContents& contents, AnsiCodePage& ansi) {
  std::string sections;
  for (const BackupKey& key : contents.keys) {
    if (!key.ticked) continue;
    std::vector<std::string> names;
    for (const BackupValue& value : key.values) {
      if (value.ticked) names.push_back(value.value.name);
    }
    auto cursor = contents.registry.NewCursor();
    cursor->SetRoot(key.root);
    cursor->SetReadOnly();
    RegKeyWriter writer(*cursor, ansi, ExportScope::WholeKey, "");
    writer.WriteRegSection(key.path, names);
    sections += writer.Text();
  }
  return RegFileText(sections);
}

std::string ValueKindName(uint32_t type) {
  switch (type) {
    case regtype::kNone: return "REG_NONE";
    case regtype::kString: return "REG_SZ";
    case regtype::kExpandString: return "REG_EXPAND_SZ";
    case regtype::kBinary: return "REG_BINARY";
    case regtype::kDword: return "REG_DWORD";
    case regtype::kDwordBigEndian: return "REG_DWORD_BIG_ENDIAN";
    case regtype::kLink: return "REG_LINK";
    case regtype::kMultiString: return "REG_MULTI_SZ";
    case regtype::kResourceList: return "REG_RESOURCE_LIST";
    case regtype::kFullResourceDescriptor: return "REG_FULL_RESOURCE_DESCRIPTOR";
    case regtype::kResourceRequirementsList: return "REG_RESOURCE_REQUIREMENTS_LIST";
    case regtype::kQword: return "REG_QWORD";
    default: return Hex(type, 8);
  }
}

std::string ValueDataText(const RegistryValue& value) {
  const std::vector<uint8_t>& data = value.data;
  switch (value.type) {
    case regtype::kString:
    case regtype::kExpandString: return Utf8FromUtf16Le(data.data(), data.size(), true);
    case regtype::kMultiString: {
      // The strings one after another, a blank between them.
      std::string all = Utf8FromUtf16Le(data.data(), data.size(), false);
      while (!all.empty() && all.back() == '\0') all.pop_back();
      for (char& c : all) {
        if (c == '\0') c = ' ';
      }
      return all;
    }
    case regtype::kDword:
      if (data.size() == 4) return Hex(LittleEndian(data, 4), 8) + " (" + std::to_string(LittleEndian(data, 4)) + ")";
      break;
    case regtype::kQword:
      if (data.size() == 8) return Hex(LittleEndian(data, 8), 16) + " (" + std::to_string(LittleEndian(data, 8)) + ")";
      break;
    default: break;
  }
  return HexBytes(data);
}

}  // namespace quillet
