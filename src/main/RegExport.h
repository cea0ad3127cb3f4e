#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/AnsiCodePage.h"
#include "platform/FileSystem.h"
#include "platform/RegistryStore.h"

// The writer of the repair's backup files: "REGEDIT4" text in the ANSI code page, CR LF line
// ends, one section per key. Every value kind is written so that the registry editor brings
// back the same type and the same bytes; what the format cannot hold is refused, not bent.
namespace quillet {

// A key name, value name or string with no exact form in the ANSI code page (or that would break
// the line structure of the file). Raised before anything of the export reaches the file.
class ExportNotRepresentable : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The backup file could not be created or appended to; the entry in hand must not be deleted.
// The file is left as it was before the export.
class ExportWriteFailed : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// What one export takes from a key: the value named, or the whole key with all its subkeys.
enum class ExportScope : bool { OneValue, WholeKey };

// A key of the export did not open for reading, or one of its values or subkeys could not be
// read: the file would lack part of what is asked for. Raised before anything reaches the file.
class ExportIncomplete : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// One key as an export wrote it: its path below the root and the values as they were read (for a
// one-value export, that value alone).
struct ExportedKey {
  std::string path;
  std::vector<RegistryValue> values;
};

struct RegExportContext {
  FileSystem& files;
  AnsiCodePage& ansi;
  RegistryStore& store;
};

// Appends the key at keyPath (one trailing "\" dropped) to the file, creating it with the
// "REGEDIT4" line when it is missing. WholeKey: the key's values and, depth first, all its
// subkeys; OneValue: the value named valueName ("" for the default value). Keys are opened
// for reading only. The whole export is built in memory and written by one flushed append, so a
// refused export leaves the file as it was, and so does a failed write: what it wrote is cut
// off again, and a file it created is removed. Returns the keys written, each before its
// subkeys.
std::vector<ExportedKey> ExportToRegFile(const RegExportContext& context, std::string_view filePath, RootKey root, ExportScope scope,
                     std::string_view valueName, std::string_view keyPath);

// Builds the sections of one export as ANSI bytes: per key an empty line, the key line and the
// value lines. Shares the cursor, the mode and the value name with ExportToRegFile.
class RegKeyWriter {
 public:
  RegKeyWriter(RegistryCursor& cursor, AnsiCodePage& ansi, ExportScope scope, std::string_view valueName);
  // ExportIncomplete when the key, a key below it or a value cannot be read.
  void WriteRegKey(const std::string& path);
  // One section alone: the key line and the named values, in that order, and no subkeys.
  // ExportIncomplete when the key or a value cannot be read.
  void WriteRegSection(const std::string& path, const std::vector<std::string>& valueNames);
  const std::string& Text() const { return text_; }
  const std::vector<ExportedKey>& Keys() const { return keys_; }

 private:
  // Writes the key line and opens the key; returns the line as written.
  std::string WriteKeyLine(const std::string& path);
  // Writes the key's section; returns its subkey names in the order to write them.
  std::vector<std::string> WriteOneKey(const std::string& path);
  void WriteValueLine(const std::string& name, std::vector<RegistryValue>& values);

  RegistryCursor& cursor_;
  AnsiCodePage& ansi_;
  bool wholeKey_;
  std::string valueName_;
  std::string text_;
  std::vector<ExportedKey> keys_;
};

// A whole REGEDIT4 file made of the sections of RegKeyWriter::Text().
std::string RegFileText(std::string_view sections);

std::string EscapeBackslashes(std::string_view text);  // every "\" doubled
std::string EscapeQuotes(std::string_view text);       // every '"' preceded by "\"

// The data part of a value line ("dword:0000000A", "hex(7):61,00,00"...), in ANSI bytes.
// ExportNotRepresentable when no ANSI text reproduces the data.
std::string RegDataPart(const RegistryValue& value, AnsiCodePage& ansi);

}  // namespace quillet
