#include "platform/win32/Win32Registry.h"

#include <algorithm>
#include <cstring>

#include "platform/win32/UniqueHandle.h"
#include "platform/win32/WideString.h"

namespace quillet::win32 {
namespace {

// Names longer than this are not registry names; growing stops here instead of looping forever.
constexpr DWORD kLongestName = 1u << 20;

struct KeyCounts {
  DWORD subkeys = 0;
  DWORD values = 0;
  DWORD longestSubkeyName = 0;
  DWORD longestValueName = 0;
};

KeyCounts QueryCounts(HKEY key) {
  KeyCounts counts;
  if (::RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &counts.subkeys, &counts.longestSubkeyName, nullptr,
                         &counts.values, &counts.longestValueName, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
    return {};
  }
  return counts;
}

// Enumerates with one name buffer, grown whenever the system reports more data.
template <typename EnumFunction>
void EnumerateNames(DWORD longestName, EnumFunction enumerate, std::vector<std::string>& names) {
  std::wstring buffer(std::max<DWORD>(longestName, 255) + 1, L'\0');
  for (DWORD index = 0;;) {
    DWORD length = static_cast<DWORD>(buffer.size());
    LONG result = enumerate(index, buffer.data(), &length);
    if (result == ERROR_MORE_DATA && buffer.size() < kLongestName) {
      buffer.resize(buffer.size() * 2);
      continue;
    }
    if (result != ERROR_SUCCESS) break;
    names.push_back(ToUtf8(std::wstring_view(buffer.data(), length)));
    ++index;
  }
}

std::optional<std::string> SubkeyName(HKEY key, DWORD index, DWORD longestName) {
  std::wstring buffer(std::max<DWORD>(longestName, 255) + 1, L'\0');
  DWORD length = static_cast<DWORD>(buffer.size());
  if (::RegEnumKeyExW(key, index, buffer.data(), &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  return ToUtf8(std::wstring_view(buffer.data(), length));
}

// Subkeys first, depth first, last index first, then the key itself.
bool DeleteTree(HKEY base, const std::wstring& sub) {
  UniqueKey key;
  if (::RegOpenKeyExW(base, sub.c_str(), 0, KEY_READ, key.put()) == ERROR_SUCCESS) {
    KeyCounts counts = QueryCounts(key.get());
    for (DWORD index = counts.subkeys; index-- > 0;) {
      if (auto name = SubkeyName(key.get(), index, counts.longestSubkeyName)) DeleteTree(key.get(), ToWide(*name));
    }
  }
  return ::RegDeleteKeyW(base, sub.c_str()) == ERROR_SUCCESS;
}

class Win32Cursor final : public RegistryCursor {
 public:
  void SetRoot(RootKey root) override {
    CloseKey();
    root_ = root;
  }
  RootKey Root() const override { return root_; }
  void SetReadOnly() override { readOnly_ = true; }

  bool OpenKey(std::string_view path) override {
    auto [base, sub, absolute] = Base(path);
    HKEY opened = nullptr;
    if (::RegOpenKeyExW(base, ToWide(sub).c_str(), 0, readOnly_ ? KEY_READ : KEY_ALL_ACCESS, &opened) !=
        ERROR_SUCCESS) {
      return false;
    }
    if (absolute || !current_ || path_.empty()) {
      path_ = std::string(sub);
    } else if (!sub.empty()) {
      path_ += "\\";
      path_ += sub;
    }
    if (opened != current_.get()) current_.reset(opened);
    return true;
  }

  void CloseKey() override {
    current_.reset();
    path_.clear();
  }
  bool HasCurrentKey() const override { return current_.valid(); }
  const std::string& CurrentPath() const override { return path_; }

  void GetSubkeyNames(std::vector<std::string>& names) override {
    names.clear();
    if (!current_) return;
    HKEY key = current_.get();
    EnumerateNames(QueryCounts(key).longestSubkeyName,
                   [key](DWORD index, wchar_t* buffer, DWORD* length) {
                     return ::RegEnumKeyExW(key, index, buffer, length, nullptr, nullptr, nullptr, nullptr);
                   },
                   names);
  }

  void GetValueNames(std::vector<std::string>& names) override {
    names.clear();
    if (!current_) return;
    HKEY key = current_.get();
    EnumerateNames(QueryCounts(key).longestValueName,
                   [key](DWORD index, wchar_t* buffer, DWORD* length) {
                     return ::RegEnumValueW(key, index, buffer, length, nullptr, nullptr, nullptr, nullptr);
                   },
                   names);
  }

  ValueKind GetValueKind(std::string_view name) override {
    DWORD type = 0;
    if (!current_ || ::RegQueryValueExW(current_.get(), ToWide(name).c_str(), nullptr, &type, nullptr, nullptr) !=
                         ERROR_SUCCESS) {
      return ValueKind::Other;
    }
    return KindOfType(type);
  }

  int64_t GetValueSize(std::string_view name) override {
    DWORD size = 0;
    if (!current_ || ::RegQueryValueExW(current_.get(), ToWide(name).c_str(), nullptr, nullptr, nullptr, &size) !=
                         ERROR_SUCCESS) {
      return -1;
    }
    return size;
  }

  std::string ReadString(std::string_view name) override {
    auto value = ReadRawValue(name);
    if (!value) return {};
    ValueKind kind = KindOfType(value->type);
    if (kind != ValueKind::String && kind != ValueKind::ExpandString) {
      throw RegistryError(InvalidDataTypeMessage(name));
    }
    std::wstring text(value->data.size() / sizeof(wchar_t), L'\0');
    std::memcpy(text.data(), value->data.data(), text.size() * sizeof(wchar_t));
    text.resize(std::wcslen(text.c_str()));
    return ToUtf8(text);
  }

  int32_t ReadInteger(std::string_view name) override {
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof(value);
    // Larger data fails here with ERROR_MORE_DATA, before its type is looked at.
    if (!current_ || ::RegQueryValueExW(current_.get(), ToWide(name).c_str(), nullptr, &type,
                                        reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS) {
      throw RegistryError(FailedToGetDataMessage(name));
    }
    if (type != REG_DWORD) throw RegistryError(InvalidDataTypeMessage(name));
    return static_cast<int32_t>(value);
  }

  size_t ReadBytes(std::string_view name, void* buffer, size_t capacity) override {
    auto value = ReadRawValue(name);
    if (!value) return 0;
    size_t count = std::min(capacity, value->data.size());
    std::memcpy(buffer, value->data.data(), count);
    return count;
  }

  bool ValueExists(std::string_view name) override {
    return current_ && ::RegQueryValueExW(current_.get(), ToWide(name).c_str(), nullptr, nullptr, nullptr,
                                          nullptr) == ERROR_SUCCESS;
  }

  std::optional<RegistryValue> ReadRawValue(std::string_view name) override {
    if (!current_) return std::nullopt;
    const std::wstring wide = ToWide(name);
    DWORD type = 0;
    DWORD size = 0;
    if (::RegQueryValueExW(current_.get(), wide.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) {
      return std::nullopt;
    }
    RegistryValue value{std::string(name), type, std::vector<uint8_t>(size)};
    // The value may grow between the two calls; ask again with the size reported.
    for (;;) {
      DWORD got = static_cast<DWORD>(value.data.size());
      LONG result = ::RegQueryValueExW(current_.get(), wide.c_str(), nullptr, &type, value.data.data(), &got);
      if (result == ERROR_MORE_DATA) {
        value.data.resize(got);
        continue;
      }
      if (result != ERROR_SUCCESS) return std::nullopt;
      value.type = type;
      value.data.resize(got);
      return value;
    }
  }

  bool KeyExists(std::string_view path) override {
    auto [base, sub, absolute] = Base(path);
    UniqueKey key;
    return ::RegOpenKeyExW(base, ToWide(sub).c_str(), 0, KEY_READ, key.put()) == ERROR_SUCCESS;
  }

  KeyInfo GetKeyInfo() override {
    if (!current_) return {};
    KeyCounts counts = QueryCounts(current_.get());
    return {counts.subkeys, counts.values};
  }

  bool DeleteKey(std::string_view path) override {
    auto [base, sub, absolute] = Base(path);
    // An empty path would name the base key itself; nothing is deleted through it.
    if (sub.find_first_not_of('\\') == std::string_view::npos) return false;
    return DeleteTree(base, ToWide(sub));
  }

  bool DeleteValue(std::string_view name) override {
    return current_ && ::RegDeleteValueW(current_.get(), ToWide(name).c_str()) == ERROR_SUCCESS;
  }

 private:
  struct Start {
    HKEY base;
    std::string_view sub;
    bool absolute;
  };

  // Where a path counts from: "\" starts at the root, anything else at the current key.
  Start Base(std::string_view path) const {
    const bool absolute = path.starts_with('\\');
    if (absolute) path.remove_prefix(1);
    return {(absolute || !current_) ? RootHandle(root_) : current_.get(), path, absolute};
  }

  RootKey root_ = RootKey::CurrentUser;
  bool readOnly_ = false;
  UniqueKey current_;
  std::string path_;
};

}  // namespace

HKEY RootHandle(RootKey root) {
  switch (root) {
    case RootKey::ClassesRoot: return HKEY_CLASSES_ROOT;
    case RootKey::CurrentUser: return HKEY_CURRENT_USER;
    case RootKey::LocalMachine: return HKEY_LOCAL_MACHINE;
    case RootKey::Users: return HKEY_USERS;
    case RootKey::CurrentConfig: return HKEY_CURRENT_CONFIG;
  }
  return HKEY_CURRENT_USER;
}

std::unique_ptr<RegistryCursor> Win32Registry::NewCursor() { return std::make_unique<Win32Cursor>(); }

}  // namespace quillet::win32
