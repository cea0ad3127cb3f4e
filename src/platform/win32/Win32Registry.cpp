#include "platform/win32/Win32Registry.h"

#include <algorithm>
#include <cstring>

#include "base/KeyPath.h"
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
  DWORD longestData = 0;
};

KeyCounts QueryCounts(HKEY key) {
  KeyCounts counts;
  if (::RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &counts.subkeys, &counts.longestSubkeyName, nullptr,
                         &counts.values, &counts.longestValueName, &counts.longestData, nullptr,
                         nullptr) != ERROR_SUCCESS) {
    return {};
  }
  return counts;
}

// The counts, or nothing when the key cannot be measured.
std::optional<KeyCounts> TryQueryCounts(HKEY key) {
  KeyCounts counts;
  if (::RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &counts.subkeys, &counts.longestSubkeyName, nullptr,
                         &counts.values, &counts.longestValueName, &counts.longestData, nullptr,
                         nullptr) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  return counts;
}

constexpr DWORD kNoLimit = ~DWORD{0};

bool HasSurrogates(std::wstring_view text) {
  for (wchar_t c : text) {
    if (c >= 0xD800 && c <= 0xDFFF) return true;
  }
  return false;
}

// One value as the enumeration read it.
struct ListedValue {
  std::string name;
  DWORD type = 0;
  std::vector<uint8_t> data;
};

// Every value of the key with its data, in one enumeration. Names that do not survive the trip
// to UTF-8 and back are listed in names but left out of values, so questions about them go to
// the system as before. False when the enumeration fails before its end (the caller then lists
// the names alone, as a listing without data may still succeed). It stops after limit values
// (the count the key was measured with), which spares the call that would only report the end;
// the buffers, kept by the thread from key to key, grow when the system reports more data.
bool ListValues(HKEY key, DWORD limit, std::vector<std::string>& names, std::vector<ListedValue>& values) {
  thread_local std::wstring name(256, L'\0');
  thread_local std::vector<uint8_t> data(4096);
  for (DWORD index = 0; index < limit;) {
    DWORD nameLength = static_cast<DWORD>(name.size());
    DWORD type = 0;
    DWORD size = static_cast<DWORD>(data.size());
    const LONG result = ::RegEnumValueW(key, index, name.data(), &nameLength, nullptr, &type, data.data(), &size);
    if (result == ERROR_MORE_DATA) {
      // The data or the name needs more room.
      if (size > data.size()) {
        data.resize(size);
      } else if (name.size() < kLongestName) {
        name.resize(name.size() * 2);
      } else {
        return false;
      }
      continue;
    }
    if (result == ERROR_NO_MORE_ITEMS) return true;
    if (result != ERROR_SUCCESS) return false;
    const std::wstring_view wide(name.data(), nameLength);
    names.push_back(ToUtf8(wide));
    if (!HasSurrogates(wide) || ToWide(names.back()) == wide) {
      values.push_back({names.back(), type, std::vector<uint8_t>(data.begin(), data.begin() + size)});
    }
    ++index;
  }
  return true;
}

// Enumerates with one name buffer, grown whenever the system reports more data, up to limit names.
template <typename EnumFunction>
void EnumerateNames(DWORD longestName, DWORD limit, EnumFunction enumerate, std::vector<std::string>& names) {
  std::wstring buffer(std::max<DWORD>(longestName, 255) + 1, L'\0');
  for (DWORD index = 0; index < limit;) {
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
      auto name = SubkeyName(key.get(), index, counts.longestSubkeyName);
      // A name with a NUL would reach the system as the sibling named by its start.
      if (name && !HasNulInside(*name)) DeleteTree(key.get(), ToWide(*name));
    }
  }
  return ::RegDeleteKeyW(base, sub.c_str()) == ERROR_SUCCESS;
}

class Win32Cursor final : public RegistryCursor {
 public:
  explicit Win32Cursor(ValueReads reads) : reads_(reads) {}

  void SetRoot(RootKey root) override {
    CloseKey();
    root_ = root;
  }
  RootKey Root() const override { return root_; }
  void SetReadOnly() override { readOnly_ = true; }

  bool OpenKey(std::string_view path) override {
    if (HasNulInside(path)) return false;
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
    Forget();
    return true;
  }

  void CloseKey() override {
    current_.reset();
    path_.clear();
    Forget();
  }

  std::unique_ptr<RegistryCursor> OpenSubkey(std::string_view path) override {
    if (!current_ || path.starts_with('\\') || HasNulInside(path)) return nullptr;
    auto child = std::make_unique<Win32Cursor>(reads_);
    if (::RegOpenKeyExW(current_.get(), ToWide(path).c_str(), 0, readOnly_ ? KEY_READ : KEY_ALL_ACCESS,
                        child->current_.put()) != ERROR_SUCCESS) {
      return nullptr;
    }
    child->root_ = root_;
    child->readOnly_ = readOnly_;
    child->path_ = JoinKeyPath(path_, path);
    return child;
  }
  bool HasCurrentKey() const override { return current_.valid(); }
  const std::string& CurrentPath() const override { return path_; }

  void GetSubkeyNames(std::vector<std::string>& names) override {
    names.clear();
    if (!current_) return;
    HKEY key = current_.get();
    // The measure taken when the values were listed serves as well; its count ends the
    // enumeration without a call that only reports its end.
    const std::optional<KeyCounts> counts = counts_ ? counts_ : TryQueryCounts(key);
    EnumerateNames(counts ? counts->longestSubkeyName : 0, counts ? counts->subkeys : kNoLimit,
                   [key](DWORD index, wchar_t* buffer, DWORD* length) {
                     return ::RegEnumKeyExW(key, index, buffer, length, nullptr, nullptr, nullptr, nullptr);
                   },
                   names);
  }

  void GetValueNames(std::vector<std::string>& names) override {
    names.clear();
    Forget();
    if (!current_) return;
    HKEY key = current_.get();
    if (reads_ == ValueReads::OncePerOpen) {
      counts_ = TryQueryCounts(key);
      if (ListValues(key, counts_ ? counts_->values : kNoLimit, names, listed_)) {
        listedValid_ = true;
        return;
      }
      names.clear();
      listed_.clear();
    }
    EnumerateNames(0, kNoLimit,
                   [key](DWORD index, wchar_t* buffer, DWORD* length) {
                     return ::RegEnumValueW(key, index, buffer, length, nullptr, nullptr, nullptr, nullptr);
                   },
                   names);
  }

  ValueKind GetValueKind(std::string_view name) override {
    if (const ListedValue* value = Listed(name)) return KindOfType(value->type);
    DWORD type = 0;
    if (!current_ || HasNulInside(name) ||
        ::RegQueryValueExW(current_.get(), ToWide(name).c_str(), nullptr, &type, nullptr, nullptr) != ERROR_SUCCESS) {
      return ValueKind::Other;
    }
    return KindOfType(type);
  }

  int64_t GetValueSize(std::string_view name) override {
    if (const ListedValue* value = Listed(name)) return static_cast<int64_t>(value->data.size());
    DWORD size = 0;
    if (!current_ || HasNulInside(name) ||
        ::RegQueryValueExW(current_.get(), ToWide(name).c_str(), nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS) {
      return -1;
    }
    return size;
  }

  std::string ReadString(std::string_view name) override {
    const ListedValue* listed = Listed(name);
    std::optional<RegistryValue> queried;
    if (!listed && !(queried = ReadRawValue(name))) return {};
    const DWORD type = listed ? listed->type : queried->type;
    const std::vector<uint8_t>& data = listed ? listed->data : queried->data;
    ValueKind kind = KindOfType(type);
    if (kind != ValueKind::String && kind != ValueKind::ExpandString) {
      throw RegistryError(InvalidDataTypeMessage(name));
    }
    std::wstring text(data.size() / sizeof(wchar_t), L'\0');
    std::memcpy(text.data(), data.data(), text.size() * sizeof(wchar_t));
    text.resize(std::wcslen(text.c_str()));
    return ToUtf8(text);
  }

  int32_t ReadInteger(std::string_view name) override {
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof(value);
    if (const ListedValue* listed = Listed(name)) {
      // As the query into a 4-byte buffer below: larger data fails before its type is looked at.
      if (listed->data.size() > sizeof(value)) throw RegistryError(FailedToGetDataMessage(name));
      if (listed->type != REG_DWORD) throw RegistryError(InvalidDataTypeMessage(name));
      std::memcpy(&value, listed->data.data(), listed->data.size());
      return static_cast<int32_t>(value);
    }
    // Larger data fails here with ERROR_MORE_DATA, before its type is looked at.
    if (!current_ || HasNulInside(name) || ::RegQueryValueExW(current_.get(), ToWide(name).c_str(), nullptr, &type,
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
    if (Listed(name)) return true;
    return current_ && !HasNulInside(name) && ::RegQueryValueExW(current_.get(), ToWide(name).c_str(), nullptr, nullptr, nullptr,
                                          nullptr) == ERROR_SUCCESS;
  }

  std::optional<RegistryValue> ReadRawValue(std::string_view name) override {
    if (const ListedValue* listed = Listed(name)) return RegistryValue{std::string(name), listed->type, listed->data};
    if (!current_ || HasNulInside(name)) return std::nullopt;
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
    if (HasNulInside(path)) return false;
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
    if (sub.find_first_not_of('\\') == std::string_view::npos || HasNulInside(sub)) return false;
    Forget();
    return DeleteTree(base, ToWide(sub));
  }

  bool DeleteKeyOnly(std::string_view path) override {
    auto [base, sub, absolute] = Base(path);
    if (sub.find_first_not_of('\\') == std::string_view::npos || HasNulInside(sub)) return false;
    Forget();
    // The system refuses a key that still has subkeys.
    return ::RegDeleteKeyW(base, ToWide(sub).c_str()) == ERROR_SUCCESS;
  }

  bool DeleteValue(std::string_view name) override {
    Forget();
    return current_ && !HasNulInside(name) && ::RegDeleteValueW(current_.get(), ToWide(name).c_str()) == ERROR_SUCCESS;
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

  // The listed value of exactly this name. The walk asks in listing order, so the search starts
  // where the last one was found.
  const ListedValue* Listed(std::string_view name) {
    // Answered as the system's calls would answer it, so both reading modes agree.
    if (!listedValid_ || HasNulInside(name)) return nullptr;
    const size_t count = listed_.size();
    for (size_t step = 0; step < count; ++step) {
      const size_t i = (lastFound_ + step) % count;
      if (listed_[i].name == name) {
        lastFound_ = i;
        return &listed_[i];
      }
    }
    return nullptr;
  }

  void Forget() {
    listed_.clear();
    listedValid_ = false;
    lastFound_ = 0;
    counts_.reset();
  }

  ValueReads reads_;
  RootKey root_ = RootKey::CurrentUser;
  bool readOnly_ = false;
  UniqueKey current_;
  std::string path_;
  std::vector<ListedValue> listed_;
  bool listedValid_ = false;
  size_t lastFound_ = 0;
  std::optional<KeyCounts> counts_;  // measured when the values were listed
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

std::unique_ptr<RegistryCursor> Win32Registry::NewCursor() { return std::make_unique<Win32Cursor>(reads_); }

}  // namespace quillet::win32
