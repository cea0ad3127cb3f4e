// A cursor that lists a key's values once per open must answer every later question as a cursor
// that asks the system each time. Seeds a scratch key under HKEY_CURRENT_USER through the raw API.
#include <gtest/gtest.h>

#include <functional>

#include "platform/RegistryDump.h"
#include "base/Utf16.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/WideString.h"
#include "platform/win32/Win32Registry.h"

namespace quillet::testing {
namespace {

using win32::ToWide;

class ValueReadsKey {
 public:
  ValueReadsKey() : path_("Software\\QuilletTests\\ValueReads." + std::to_string(::GetCurrentProcessId())) {
    ::RegDeleteTreeW(HKEY_CURRENT_USER, ToWide(path_).c_str());
    ::RegCreateKeyExW(HKEY_CURRENT_USER, ToWide(path_).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key_.put(),
                      nullptr);
  }
  ~ValueReadsKey() { ::RegDeleteTreeW(HKEY_CURRENT_USER, ToWide(path_).c_str()); }

  void Set(std::string_view name, uint32_t type, std::vector<uint8_t> data) {
    ASSERT_EQ(::RegSetValueExW(key_.get(), ToWide(name).c_str(), 0, type, data.data(), static_cast<DWORD>(data.size())),
              ERROR_SUCCESS);
  }
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
  win32::UniqueKey key_;
};

// Every answer a cursor gives about one value, as text, exceptions included.
std::string Answers(RegistryCursor& cursor, const std::string& name) {
  auto guarded = [](const std::function<std::string()>& question) {
    try {
      return question();
    } catch (const RegistryError& error) {
      return std::string("error: ") + error.what();
    }
  };
  std::string text = "kind " + std::to_string(static_cast<int>(cursor.GetValueKind(name)));
  text += ", size " + std::to_string(cursor.GetValueSize(name));
  text += ", exists " + std::to_string(cursor.ValueExists(name));
  text += ", string " + guarded([&] { return cursor.ReadString(name); });
  text += ", integer " + guarded([&] { return std::to_string(cursor.ReadInteger(name)); });
  uint8_t bytes[6] = {};
  text += ", bytes " + std::to_string(cursor.ReadBytes(name, bytes, sizeof(bytes)));
  for (uint8_t byte : bytes) text += " " + std::to_string(byte);
  const std::optional<RegistryValue> raw = cursor.ReadRawValue(name);
  text += ", raw " + (raw ? raw->name + " " + FormatRegistryValue(*raw) : std::string("none"));
  return text;
}

TEST(Win32ValueReads, ListedValuesAnswerAsTheSystemDoes) {
  ValueReadsKey seeded;
  seeded.Set("", regtype::kString, Utf16LeBytes("default"));
  seeded.Set("Text", regtype::kString, Utf16LeBytes("C:\\Dir\\app.exe"));
  seeded.Set("Unterminated", regtype::kString, Utf16LeBytes("abc", false));
  seeded.Set("Expand", regtype::kExpandString, Utf16LeBytes("%SystemRoot%\\x.dll"));
  seeded.Set("Number", regtype::kDword, {1, 2, 3, 4});
  seeded.Set("Short", regtype::kDword, {7, 1});
  seeded.Set("Wide", regtype::kDword, {1, 2, 3, 4, 5, 6, 7, 8});
  seeded.Set("Blob", regtype::kBinary, std::vector<uint8_t>(5000, 0xAB));
  seeded.Set("Empty", regtype::kBinary, {});
  seeded.Set("Qword", regtype::kQword, {1, 0, 0, 0, 0, 0, 0, 0});
  seeded.Set("Gr\xC3\xBC\xC3\x9F" "e", regtype::kString, Utf16LeBytes("\xC3\xA9t\xC3\xA9"));

  win32::Win32Registry listing(win32::ValueReads::OncePerOpen);
  win32::Win32Registry asking(win32::ValueReads::PerQuestion);
  std::unique_ptr<RegistryCursor> once = listing.NewCursor();
  std::unique_ptr<RegistryCursor> each = asking.NewCursor();
  for (RegistryCursor* cursor : {once.get(), each.get()}) {
    cursor->SetRoot(RootKey::CurrentUser);
    ASSERT_TRUE(cursor->OpenKey(seeded.Path()));
  }
  std::vector<std::string> listed;
  std::vector<std::string> asked;
  once->GetValueNames(listed);
  each->GetValueNames(asked);
  EXPECT_EQ(listed, asked);
  ASSERT_EQ(listed.size(), 11u);

  // Listed names, other spellings, a name never there, and one added after the listing.
  seeded.Set("Later", regtype::kString, Utf16LeBytes("added"));
  std::vector<std::string> names = listed;
  for (const char* name : {"TEXT", "number", "GR\xC3\x9C\xC3\x9F" "E", "Missing", "Later"}) names.push_back(name);
  for (const std::string& name : names) {
    SCOPED_TRACE("value \"" + name + "\"");
    EXPECT_EQ(Answers(*once, name), Answers(*each, name));
  }

  // A change through the cursor itself is seen at once.
  ASSERT_TRUE(once->DeleteValue("Text"));
  EXPECT_FALSE(once->ValueExists("Text"));
  EXPECT_EQ(once->GetValueSize("Text"), -1);
  EXPECT_EQ(once->ReadString("Text"), "");
}

}  // namespace
}  // namespace quillet::testing
