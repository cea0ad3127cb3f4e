#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/AnsiCodePage.h"
#include "platform/RegistryStore.h"
#include "platform/memory/MemoryRegistry.h"

// What a backup file holds, read by the portable .reg reader: its keys in file order, each with
// its values, and each of them ticked for a partial restore or not.
namespace quillet {

struct BackupValue {
  RegistryValue value;
  bool ticked = true;
};

struct BackupKey {
  RootKey root = RootKey::CurrentUser;
  std::string path;  // below the root
  std::vector<BackupValue> values;
  bool ticked = true;
};

struct BackupContents {
  std::vector<BackupKey> keys;
  // Where the reader stops: a file with a line it cannot read lists the keys before that line
  // and restores nothing in part.
  std::optional<std::string> problem;
  memory::MemoryRegistry registry;  // the file as loaded, for the writer
};

// Reads a backup file's bytes (REGEDIT4 or version 5.00). A key that several sections name is
// listed once, at its first section.
void ReadBackupContents(std::string_view fileBytes, AnsiCodePage& ansi, BackupContents& contents);

// The REGEDIT4 file that brings back the ticked keys with their ticked values, written by the
// export writer's rules in the order listed. ExportNotRepresentable as the writer raises it.
std::string SelectedSectionsFile(BackupContents& contents, AnsiCodePage& ansi);

// A value as the registry editor shows it: the kind's name ("REG_SZ"...) and its data.
std::string ValueKindName(uint32_t type);
std::string ValueDataText(const RegistryValue& value);

}  // namespace quillet
