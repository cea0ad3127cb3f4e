#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// The registry as the program sees it: cursors that open, enumerate, read and delete. Nothing
// creates keys or writes values (tests seed the in-memory store through its own builder).
namespace quillet {

enum class RootKey { ClassesRoot, CurrentUser, LocalMachine, Users, CurrentConfig };

// The long names, "HKEY_LOCAL_MACHINE" and so on, in any case; anything else is no root.
std::optional<RootKey> ParseRootName(std::string_view name);
// Also the short forms "HKLM", "HKCU", "HKU", "HKCR", "HKCC" (only the open-in-editor command reads these).
std::optional<RootKey> ParseRootNameOrShortForm(std::string_view name);
const char* RootName(RootKey root);  // the long name

// Raw type numbers as Windows stores them.
namespace regtype {
inline constexpr uint32_t kNone = 0;
inline constexpr uint32_t kString = 1;
inline constexpr uint32_t kExpandString = 2;
inline constexpr uint32_t kBinary = 3;
inline constexpr uint32_t kDword = 4;
inline constexpr uint32_t kDwordBigEndian = 5;
inline constexpr uint32_t kLink = 6;
inline constexpr uint32_t kMultiString = 7;
inline constexpr uint32_t kResourceList = 8;
inline constexpr uint32_t kFullResourceDescriptor = 9;
inline constexpr uint32_t kResourceRequirementsList = 10;
inline constexpr uint32_t kQword = 11;
}  // namespace regtype

// The kinds the scanners tell apart. Other covers every remaining type and a missing value.
enum class ValueKind { Other = 0, String = 1, ExpandString = 2, Integer = 3, Binary = 4 };
ValueKind KindOfType(uint32_t rawType);

// A value exactly as stored: string data is UTF-16LE with whatever terminator it has.
struct RegistryValue {
  std::string name;  // UTF-8; empty for the default value
  uint32_t type = regtype::kNone;
  std::vector<uint8_t> data;
};

// The read errors that end a scan ("Invalid data type for '%s'", "Failed to get data for '%s'").
class RegistryError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct KeyInfo {
  uint32_t subkeyCount = 0;
  uint32_t valueCount = 0;
};

// One walker over the registry: a root (HKEY_CURRENT_USER when made), an access mode (full
// access when made) and at most one open current key. Each scanner and repair step makes its own.
//
// Paths: one starting with "\" counts from the root, any other from the current key (the root
// if none is open). CurrentPath() is root-relative without a leading "\"; after a relative open
// it is the old path + "\" + the opened path.
//
// Names are counted strings: a listed name may hold a NUL. The system takes names up to their
// first NUL, so a path or value name with a NUL inside is answered as missing by every call that
// takes one (it would name another key or value), and nothing is deleted through it.
class RegistryCursor {
 public:
  virtual ~RegistryCursor() = default;

  virtual void SetRoot(RootKey root) = 0;  // closes the current key
  virtual RootKey Root() const = 0;
  virtual void SetReadOnly() = 0;          // later opens ask for reading only

  // True when the key exists and opens with the cursor's access; on failure the current key stays.
  [[nodiscard]] virtual bool OpenKey(std::string_view path) = 0;
  virtual void CloseKey() = 0;
  // A new cursor on a key below the current one, opened from this cursor's open key rather than
  // from the root: the same root and access, its CurrentPath() as after OpenKey(path) here, and
  // this cursor unchanged. Null when no key is open, the path starts with "\" or the key does
  // not open. A walk of a tree opens each key this way, without reading its path from the root.
  [[nodiscard]] virtual std::unique_ptr<RegistryCursor> OpenSubkey(std::string_view path) = 0;
  virtual bool HasCurrentKey() const = 0;
  virtual const std::string& CurrentPath() const = 0;

  // The list is cleared, then filled with the current key's direct subkeys (values) in store
  // order; empty if no key is open. The default value, when present, is listed as "".
  virtual void GetSubkeyNames(std::vector<std::string>& names) = 0;
  virtual void GetValueNames(std::vector<std::string>& names) = 0;

  virtual ValueKind GetValueKind(std::string_view name) = 0;  // Other when missing
  virtual int64_t GetValueSize(std::string_view name) = 0;    // bytes as stored, -1 when missing
  // Text up to the first NUL, empty when missing; RegistryError for a kind that is not a string.
  virtual std::string ReadString(std::string_view name) = 0;
  // RegistryError "Failed to get data" when missing, "Invalid data type" for another kind.
  virtual int32_t ReadInteger(std::string_view name) = 0;
  // Copies up to capacity bytes of the data; 0 when missing.
  virtual size_t ReadBytes(std::string_view name, void* buffer, size_t capacity) = 0;
  virtual bool ValueExists(std::string_view name) = 0;
  // The value with its raw type and bytes; empty when missing.
  virtual std::optional<RegistryValue> ReadRawValue(std::string_view name) = 0;

  // True when the key opens for reading; the current key is unchanged.
  virtual bool KeyExists(std::string_view path) = 0;
  virtual KeyInfo GetKeyInfo() = 0;  // zeros when no key is open

  // Subkeys first, depth first, last index first, then the key; true when that last delete succeeds.
  [[nodiscard]] virtual bool DeleteKey(std::string_view path) = 0;
  // The key alone, with its values; false when it still has subkeys or the delete is refused.
  [[nodiscard]] virtual bool DeleteKeyOnly(std::string_view path) = 0;
  [[nodiscard]] virtual bool DeleteValue(std::string_view name) = 0;
};

class RegistryStore {
 public:
  virtual ~RegistryStore() = default;
  virtual std::unique_ptr<RegistryCursor> NewCursor() = 0;
};

// True when the name holds a NUL: no call of the system can name it.
inline bool HasNulInside(std::string_view name) { return name.find('\0') != std::string_view::npos; }

// Message texts of RegistryError, with the value name in place of %s.
std::string InvalidDataTypeMessage(std::string_view valueName);
std::string FailedToGetDataMessage(std::string_view valueName);

}  // namespace quillet
