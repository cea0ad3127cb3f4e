#pragma once

// The behaviour every RegistryStore promises, written once and run against each implementation.
//
// An environment type Env provides, for one test:
//   explicit Env(std::string_view testName)  makes an empty scratch key under HKEY_CURRENT_USER
//                                            (and removes it again when destroyed)
//   const std::string& Scratch() const       its path from the root, without a leading "\"
//   void CreateKey(std::string_view sub)     a key below the scratch key, with its parents
//   void SetValue(std::string_view sub, std::string_view name, uint32_t type, std::vector<uint8_t> data)
//   bool DenyFullAccess(std::string_view sub)  the key then opens for reading only; false when
//                                            the store cannot model that
//   RegistryStore& Store()
//   static constexpr bool kValuesInCreationOrder  as Windows lists them; Wine lists values sorted
//                                            by name instead, a known difference of that peer
// Seeding goes around the store under test (it writes nothing), through the raw API on Windows.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/RegistryStore.h"
#include "base/Utf16.h"

namespace quillet::testing {

inline std::vector<uint8_t> DwordBytes(uint32_t value) {
  return {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value >> 16),
          static_cast<uint8_t>(value >> 24)};
}

inline std::vector<uint8_t> QwordBytes(uint64_t value) {
  std::vector<uint8_t> bytes(8);
  for (size_t i = 0; i < 8; ++i) bytes[i] = static_cast<uint8_t>(value >> (8 * i));
  return bytes;
}

inline std::vector<uint8_t> TextBytes(std::string_view utf8, bool terminate = true) {
  return Utf16LeBytes(utf8, terminate);
}

inline std::vector<uint8_t> MultiBytes(const std::vector<std::string>& items) {
  std::vector<uint8_t> data;
  for (const std::string& item : items) {
    std::vector<uint8_t> bytes = Utf16LeBytes(item);
    data.insert(data.end(), bytes.begin(), bytes.end());
  }
  data.insert(data.end(), {0, 0});
  return data;
}

inline std::vector<uint8_t> PatternBytes(size_t size) {
  std::vector<uint8_t> bytes(size);
  for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<uint8_t>((i * 7 + i / 251) & 0xFF);
  return bytes;
}

// The message of the RegistryError the call raises, or a marker when it raises none.
template <typename Call>
std::string RegistryErrorOf(Call call) {
  try {
    call();
  } catch (const RegistryError& error) {
    return error.what();
  }
  return "(no error)";
}

template <typename Env>
class RegistryStoreContract : public ::testing::Test {
 protected:
  RegistryStoreContract() : env_(::testing::UnitTest::GetInstance()->current_test_info()->name()) {}

  std::unique_ptr<RegistryCursor> Cursor() { return env_.Store().NewCursor(); }

  // The path of a key below the scratch key, from the root: "\" + scratch + "\" + sub.
  std::string Absolute(std::string_view sub = {}) const {
    std::string path = "\\" + env_.Scratch();
    if (!sub.empty()) path.append("\\").append(sub);
    return path;
  }
  // "$" in a table entry stands for the scratch key's path.
  std::string Expand(std::string_view pattern) const {
    std::string text(pattern);
    for (size_t at = text.find('$'); at != std::string::npos; at = text.find('$', at + env_.Scratch().size())) {
      text.replace(at, 1, env_.Scratch());
    }
    return text;
  }

  Env env_;
};

TYPED_TEST_SUITE_P(RegistryStoreContract);

TYPED_TEST_P(RegistryStoreContract, OpenKeyFollowsThePathRules) {
  this->env_.CreateKey("A\\B");
  this->env_.CreateKey("C");
  struct Case {
    const char* description;
    const char* openFirst;  // "" for no key open
    const char* path;
    bool opens;
    const char* pathAfter;
  };
  const Case cases[] = {
      {"absolute path with no key open", "", "\\$\\A", true, "$\\A"},
      {"relative path with no key open counts from the root", "", "$\\A", true, "$\\A"},
      {"relative path counts from the current key", "\\$", "A\\B", true, "$\\A\\B"},
      {"absolute path ignores the current key", "\\$\\A", "\\$\\C", true, "$\\C"},
      {"names compare without regard to case, the path keeps the case given", "\\$", "a\\b", true, "$\\a\\b"},
      {"a missing key fails and the current key stays", "\\$\\A", "Missing", false, "$\\A"},
      {"a relative path is not looked up from the root", "\\$\\A", "$", false, "$\\A"},
      {"a missing key with no key open leaves none open", "", "\\$\\Missing", false, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.description);
    auto cursor = this->Cursor();
    if (*c.openFirst) {
      ASSERT_TRUE(cursor->OpenKey(this->Expand(c.openFirst)));
    }
    EXPECT_EQ(cursor->OpenKey(this->Expand(c.path)), c.opens);
    EXPECT_EQ(cursor->CurrentPath(), this->Expand(c.pathAfter));
    EXPECT_EQ(cursor->HasCurrentKey(), c.opens || *c.openFirst);
  }
}

TYPED_TEST_P(RegistryStoreContract, OpenSubkeyOpensBelowTheCurrentKeyInACursorOfItsOwn) {
  this->env_.CreateKey("A\\B\\C");
  this->env_.SetValue("A\\B", "Where", regtype::kString, TextBytes("in B"));
  this->env_.CreateKey("Locked");
  const bool locked = this->env_.DenyFullAccess("Locked");
  struct Case {
    const char* description;
    const char* openFirst;  // "" for no key open
    bool readOnly;
    const char* path;
    const char* pathOfNew;  // nullptr: no cursor
  };
  const Case cases[] = {
      {"a subkey of the open key", "\\$\\A", false, "B", "$\\A\\B"},
      {"a relative path of two names, any case", "\\$", false, "a\\b", "$\\a\\b"},
      {"a missing subkey", "\\$\\A", false, "Missing", nullptr},
      {"no key open", "", false, "$", nullptr},
      {"a path from the root is refused", "\\$", false, "\\$\\A", nullptr},
      {"the access of the cursor it came from: read-only", "\\$", true, "Locked", "$\\Locked"},
      {"the access of the cursor it came from: full", "\\$", false, "Locked", locked ? nullptr : "$\\Locked"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.description);
    auto cursor = this->Cursor();
    if (c.readOnly) cursor->SetReadOnly();
    if (*c.openFirst) {
      ASSERT_TRUE(cursor->OpenKey(this->Expand(c.openFirst)));
    }
    const std::string before = cursor->CurrentPath();
    std::unique_ptr<RegistryCursor> opened = cursor->OpenSubkey(this->Expand(c.path));
    EXPECT_EQ(opened != nullptr, c.pathOfNew != nullptr);
    if (opened) {
      EXPECT_EQ(opened->CurrentPath(), this->Expand(c.pathOfNew));
      EXPECT_EQ(opened->Root(), cursor->Root());
    }
    EXPECT_EQ(cursor->CurrentPath(), before) << "the cursor it came from stays where it was";
  }
  auto cursor = this->Cursor();
  ASSERT_TRUE(cursor->OpenKey(this->Absolute("A")));
  auto b = cursor->OpenSubkey("B");
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->ReadString("Where"), "in B");
  std::vector<std::string> names;
  b->GetSubkeyNames(names);
  EXPECT_EQ(names, std::vector<std::string>{"C"});
  EXPECT_NE(b->OpenSubkey("C"), nullptr) << "a cursor opened this way opens further down";
}

TYPED_TEST_P(RegistryStoreContract, OpenedKeyIsWhereValuesAreReadAndRelativePathsStart) {
  this->env_.CreateKey("A\\B");
  this->env_.SetValue("A", "Where", regtype::kString, TextBytes("in A"));
  this->env_.SetValue("A\\B", "Where", regtype::kString, TextBytes("in B"));
  auto cursor = this->Cursor();
  ASSERT_TRUE(cursor->OpenKey(this->Absolute("A")));
  EXPECT_EQ(cursor->ReadString("Where"), "in A");
  ASSERT_TRUE(cursor->OpenKey("B"));
  EXPECT_EQ(cursor->ReadString("Where"), "in B");
  EXPECT_FALSE(cursor->OpenKey("B")) << "B has no subkey B";
  EXPECT_EQ(cursor->ReadString("Where"), "in B");
}

TYPED_TEST_P(RegistryStoreContract, CloseKeyMakesRelativePathsCountFromTheRootAgain) {
  this->env_.CreateKey("A\\B");
  auto cursor = this->Cursor();
  ASSERT_TRUE(cursor->OpenKey(this->Absolute("A")));
  cursor->CloseKey();
  EXPECT_FALSE(cursor->HasCurrentKey());
  EXPECT_EQ(cursor->CurrentPath(), "");
  EXPECT_FALSE(cursor->OpenKey("B"));
  EXPECT_TRUE(cursor->OpenKey(this->env_.Scratch() + "\\A\\B"));
  EXPECT_EQ(cursor->CurrentPath(), this->env_.Scratch() + "\\A\\B");
}

TYPED_TEST_P(RegistryStoreContract, SetRootClosesTheCurrentKeyAndMovesWherePathsStart) {
  auto cursor = this->Cursor();
  EXPECT_EQ(cursor->Root(), RootKey::CurrentUser);
  ASSERT_TRUE(cursor->OpenKey(this->Absolute()));
  cursor->SetRoot(RootKey::LocalMachine);
  EXPECT_EQ(cursor->Root(), RootKey::LocalMachine);
  EXPECT_FALSE(cursor->HasCurrentKey());
  EXPECT_EQ(cursor->CurrentPath(), "");
  EXPECT_FALSE(cursor->KeyExists(this->Absolute())) << "the scratch key lives under HKEY_CURRENT_USER";
  cursor->SetRoot(RootKey::CurrentUser);
  EXPECT_TRUE(cursor->OpenKey(this->Absolute()));
}

TYPED_TEST_P(RegistryStoreContract, ReadOnlyCursorReadsButCannotDeleteValues) {
  this->env_.CreateKey("A");
  this->env_.SetValue("A", "Keep", regtype::kString, TextBytes("x"));
  auto reader = this->Cursor();
  reader->SetReadOnly();
  ASSERT_TRUE(reader->OpenKey(this->Absolute("A")));
  EXPECT_EQ(reader->ReadString("Keep"), "x");
  EXPECT_FALSE(reader->DeleteValue("Keep"));
  EXPECT_TRUE(reader->ValueExists("Keep"));

  auto writer = this->Cursor();
  ASSERT_TRUE(writer->OpenKey(this->Absolute("A")));
  EXPECT_TRUE(writer->DeleteValue("Keep"));
  EXPECT_FALSE(reader->ValueExists("Keep"));
}

TYPED_TEST_P(RegistryStoreContract, KeyDeniedFullAccessOpensOnlyForReading) {
  this->env_.CreateKey("Locked");
  this->env_.SetValue("Locked", "Data", regtype::kDword, DwordBytes(7));
  if (!this->env_.DenyFullAccess("Locked")) GTEST_SKIP() << "this store cannot restrict a key's access";
  auto cursor = this->Cursor();
  ASSERT_TRUE(cursor->OpenKey(this->Absolute()));
  EXPECT_FALSE(cursor->OpenKey("Locked"));
  EXPECT_EQ(cursor->CurrentPath(), this->env_.Scratch());
  EXPECT_TRUE(cursor->KeyExists("Locked"));

  auto reader = this->Cursor();
  reader->SetReadOnly();
  ASSERT_TRUE(reader->OpenKey(this->Absolute("Locked")));
  EXPECT_EQ(reader->ReadInteger("Data"), 7);
}

TYPED_TEST_P(RegistryStoreContract, EnumeratesSubkeysSortedAndValuesInCreationOrder) {
  for (const char* name : {"b", "A", "c1", "C0", "Zz"}) this->env_.CreateKey(std::string("E\\") + name);
  this->env_.CreateKey("E\\A\\Deeper");
  for (const char* name : {"Zeta", "", "alpha", "Mid"}) {
    this->env_.SetValue("E", name, regtype::kString, TextBytes(name));
  }
  auto cursor = this->Cursor();
  std::vector<std::string> names{"stale"};
  cursor->GetSubkeyNames(names);
  EXPECT_TRUE(names.empty()) << "no key is open";
  names = {"stale"};
  cursor->GetValueNames(names);
  EXPECT_TRUE(names.empty()) << "no key is open";

  ASSERT_TRUE(cursor->OpenKey(this->Absolute("E")));
  names = {"stale"};
  cursor->GetSubkeyNames(names);
  EXPECT_EQ(names, (std::vector<std::string>{"A", "b", "C0", "c1", "Zz"}));
  names = {"stale"};
  cursor->GetValueNames(names);
  if constexpr (TypeParam::kValuesInCreationOrder) {
    EXPECT_EQ(names, (std::vector<std::string>{"Zeta", "", "alpha", "Mid"}));
  } else {
    EXPECT_EQ(names, (std::vector<std::string>{"", "alpha", "Mid", "Zeta"}));
  }
}

TYPED_TEST_P(RegistryStoreContract, ReportsKindSizeAndRawDataOfEveryType) {
  struct Case {
    std::string name;
    uint32_t type;
    std::vector<uint8_t> data;
    ValueKind kind;
  };
  const std::vector<Case> cases = {
      {"Sz", regtype::kString, TextBytes("C:\\Old\\app.exe"), ValueKind::String},
      {"Expand", regtype::kExpandString, TextBytes("%SystemRoot%\\x.dll"), ValueKind::ExpandString},
      {"Dword", regtype::kDword, DwordBytes(0x12345678), ValueKind::Integer},
      {"Binary", regtype::kBinary, {1, 2, 3, 0, 255}, ValueKind::Binary},
      {"Multi", regtype::kMultiString, MultiBytes({"one", "two"}), ValueKind::Other},
      {"Qword", regtype::kQword, QwordBytes(0x0102030405060708ull), ValueKind::Other},
      {"None", regtype::kNone, {}, ValueKind::Other},
      {"BigEndian", regtype::kDwordBigEndian, {0, 0, 0, 1}, ValueKind::Other},
      {"Unknown type", 0x100, {9, 8, 7}, ValueKind::Other},
      {"Empty binary", regtype::kBinary, {}, ValueKind::Binary},
      {"Empty string", regtype::kString, {}, ValueKind::String},
      {"Large binary", regtype::kBinary, PatternBytes(100 * 1024), ValueKind::Binary},
      {"", regtype::kString, TextBytes("the default"), ValueKind::String},
      {"Gr\xC3\xB6\xC3\x9F" "e \xE2\x9C\x93", regtype::kString, TextBytes("\xE2\x98\x83"), ValueKind::String},
  };
  this->env_.CreateKey("V");
  for (const Case& c : cases) this->env_.SetValue("V", c.name, c.type, c.data);
  auto cursor = this->Cursor();
  ASSERT_TRUE(cursor->OpenKey(this->Absolute("V")));
  for (const Case& c : cases) {
    SCOPED_TRACE("value \"" + c.name + "\"");
    EXPECT_TRUE(cursor->ValueExists(c.name));
    EXPECT_EQ(cursor->GetValueKind(c.name), c.kind);
    EXPECT_EQ(cursor->GetValueSize(c.name), static_cast<int64_t>(c.data.size()));
    auto raw = cursor->ReadRawValue(c.name);
    ASSERT_TRUE(raw.has_value());
    EXPECT_EQ(raw->name, c.name);
    EXPECT_EQ(raw->type, c.type);
    EXPECT_TRUE(raw->data == c.data) << "raw data differs, " << raw->data.size() << " bytes read";
    std::vector<uint8_t> copy(c.data.size() + 1, 0xEE);
    EXPECT_EQ(cursor->ReadBytes(c.name, copy.data(), copy.size()), c.data.size());
    EXPECT_TRUE(std::equal(c.data.begin(), c.data.end(), copy.begin()));
  }
  std::vector<std::string> names;
  cursor->GetValueNames(names);
  EXPECT_EQ(names.size(), cases.size());
}

TYPED_TEST_P(RegistryStoreContract, MissingValueReadsAsAbsent) {
  this->env_.CreateKey("A");
  auto open = this->Cursor();
  ASSERT_TRUE(open->OpenKey(this->Absolute("A")));
  auto none = this->Cursor();
  for (RegistryCursor* cursor : {open.get(), none.get()}) {
    SCOPED_TRACE(cursor->HasCurrentKey() ? "missing value" : "no key open");
    EXPECT_FALSE(cursor->ValueExists("Missing"));
    EXPECT_EQ(cursor->GetValueKind("Missing"), ValueKind::Other);
    EXPECT_EQ(cursor->GetValueSize("Missing"), -1);
    EXPECT_FALSE(cursor->ReadRawValue("Missing").has_value());
    EXPECT_EQ(cursor->ReadString("Missing"), "");
    uint8_t buffer[4] = {};
    EXPECT_EQ(cursor->ReadBytes("Missing", buffer, sizeof(buffer)), 0u);
    EXPECT_EQ(RegistryErrorOf([&] { cursor->ReadInteger("Missing"); }), "Failed to get data for 'Missing'");
    EXPECT_FALSE(cursor->DeleteValue("Missing"));
  }
}

TYPED_TEST_P(RegistryStoreContract, ReadStringReturnsTheTextUpToTheFirstNul) {
  auto bytesOf = [](std::initializer_list<std::vector<uint8_t>> parts) {
    std::vector<uint8_t> all;
    for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
  };
  struct Case {
    const char* name;
    uint32_t type;
    std::vector<uint8_t> data;
    std::string text;
  };
  const std::vector<Case> cases = {
      {"Terminated", regtype::kString, TextBytes("C:\\app.exe"), "C:\\app.exe"},
      {"Embedded nul", regtype::kString, bytesOf({TextBytes("ab"), TextBytes("cd")}), "ab"},
      {"No terminator", regtype::kString, TextBytes("xyz", false), "xyz"},
      {"Odd length", regtype::kString, bytesOf({TextBytes("ab", false), {0x41}}), "ab"},
      {"Empty data", regtype::kString, {}, ""},
      {"Expandable", regtype::kExpandString, TextBytes("%TEMP%\\x.tmp"), "%TEMP%\\x.tmp"},
      {"Not ASCII", regtype::kString, TextBytes("Gr\xC3\xBC\xC3\x9F" "e \xE2\x98\x83"),
       "Gr\xC3\xBC\xC3\x9F" "e \xE2\x98\x83"},
  };
  this->env_.CreateKey("S");
  for (const Case& c : cases) this->env_.SetValue("S", c.name, c.type, c.data);
  auto cursor = this->Cursor();
  ASSERT_TRUE(cursor->OpenKey(this->Absolute("S")));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(cursor->ReadString(c.name), c.text);
  }
}

TYPED_TEST_P(RegistryStoreContract, ReadStringOfAnotherKindRaisesInvalidDataType) {
  const std::vector<std::pair<uint32_t, std::vector<uint8_t>>> others = {
      {regtype::kDword, DwordBytes(1)},         {regtype::kBinary, TextBytes("looks like text")},
      {regtype::kMultiString, MultiBytes({"a"})}, {regtype::kQword, QwordBytes(1)},
      {regtype::kNone, {}},                     {0x100, {1}},
  };
  this->env_.CreateKey("S");
  auto cursor = this->Cursor();
  ASSERT_TRUE(cursor->OpenKey(this->Absolute("S")));
  for (const auto& [type, data] : others) {
    const std::string name = "Type " + std::to_string(type);
    SCOPED_TRACE(name);
    this->env_.SetValue("S", name, type, data);
    EXPECT_EQ(RegistryErrorOf([&] { cursor->ReadString(name); }), "Invalid data type for '" + name + "'");
  }
}

TYPED_TEST_P(RegistryStoreContract, ReadIntegerReadsDwordsAndRaisesTheTwoErrors) {
  struct Case {
    const char* name;
    uint32_t type;
    std::vector<uint8_t> data;
    int32_t value;
    const char* error;  // "" when the read succeeds
  };
  const char* const kInvalid = "Invalid data type for '%s'";
  const char* const kFailed = "Failed to get data for '%s'";
  const std::vector<Case> cases = {
      {"Dword", regtype::kDword, DwordBytes(42), 42, ""},
      {"Negative", regtype::kDword, DwordBytes(0xFFFFFFFF), -1, ""},
      {"Short dword", regtype::kDword, {0x34, 0x12}, 0x1234, ""},
      {"Empty dword", regtype::kDword, {}, 0, ""},
      {"Four binary bytes", regtype::kBinary, DwordBytes(42), 0, kInvalid},
      {"One character", regtype::kString, TextBytes("a"), 0, kInvalid},
      {"Long text", regtype::kString, TextBytes("123456"), 0, kFailed},
      {"Qword", regtype::kQword, QwordBytes(42), 0, kFailed},
      {"Five dword bytes", regtype::kDword, {1, 0, 0, 0, 0}, 0, kFailed},
  };
  this->env_.CreateKey("I");
  for (const Case& c : cases) this->env_.SetValue("I", c.name, c.type, c.data);
  auto cursor = this->Cursor();
  ASSERT_TRUE(cursor->OpenKey(this->Absolute("I")));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (*c.error == '\0') {
      EXPECT_EQ(cursor->ReadInteger(c.name), c.value);
      continue;
    }
    std::string expected = c.error;
    expected.replace(expected.find("%s"), 2, c.name);
    EXPECT_EQ(RegistryErrorOf([&] { cursor->ReadInteger(c.name); }), expected);
  }
}

TYPED_TEST_P(RegistryStoreContract, ReadBytesCopiesAtMostTheCapacity) {
  const std::vector<uint8_t> data = {10, 11, 12, 13, 14, 15, 16, 17, 18, 19};
  this->env_.CreateKey("B");
  this->env_.SetValue("B", "Blob", regtype::kBinary, data);
  auto cursor = this->Cursor();
  ASSERT_TRUE(cursor->OpenKey(this->Absolute("B")));
  std::vector<uint8_t> buffer(16, 0xEE);
  EXPECT_EQ(cursor->ReadBytes("Blob", buffer.data(), 4), 4u);
  EXPECT_EQ(std::vector<uint8_t>(buffer.begin(), buffer.begin() + 5), (std::vector<uint8_t>{10, 11, 12, 13, 0xEE}));
  EXPECT_EQ(cursor->ReadBytes("Blob", buffer.data(), buffer.size()), data.size());
  EXPECT_EQ(std::vector<uint8_t>(buffer.begin(), buffer.begin() + 10), data);
  EXPECT_EQ(buffer[10], 0xEE);
}

TYPED_TEST_P(RegistryStoreContract, KeyExistsLeavesTheCursorWhereItWas) {
  this->env_.CreateKey("A\\B");
  struct Case {
    const char* openFirst;
    const char* path;
    bool exists;
  };
  const Case cases[] = {
      {"", "\\$\\A", true},     {"", "$\\A\\B", true},       {"", "\\$\\Missing", false},
      {"\\$\\A", "B", true},    {"\\$\\A", "A", false},      {"\\$\\A", "\\$\\A\\b", true},
      {"\\$\\A", "Missing", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.openFirst) + " then " + c.path);
    auto cursor = this->Cursor();
    if (*c.openFirst) {
      ASSERT_TRUE(cursor->OpenKey(this->Expand(c.openFirst)));
    }
    const std::string pathBefore = cursor->CurrentPath();
    EXPECT_EQ(cursor->KeyExists(this->Expand(c.path)), c.exists);
    EXPECT_EQ(cursor->CurrentPath(), pathBefore);
    EXPECT_EQ(cursor->HasCurrentKey(), *c.openFirst != '\0');
  }
}

TYPED_TEST_P(RegistryStoreContract, KeyInfoCountsDirectSubkeysAndValues) {
  for (const char* sub : {"K\\One", "K\\Two\\Below", "K\\Three"}) this->env_.CreateKey(sub);
  for (const char* name : {"", "x", "y"}) this->env_.SetValue("K", name, regtype::kDword, DwordBytes(0));
  this->env_.SetValue("K\\One", "not counted", regtype::kDword, DwordBytes(0));
  auto cursor = this->Cursor();
  KeyInfo none = cursor->GetKeyInfo();
  EXPECT_EQ(none.subkeyCount, 0u);
  EXPECT_EQ(none.valueCount, 0u);
  ASSERT_TRUE(cursor->OpenKey(this->Absolute("K")));
  KeyInfo info = cursor->GetKeyInfo();
  EXPECT_EQ(info.subkeyCount, 3u);
  EXPECT_EQ(info.valueCount, 3u);
}

TYPED_TEST_P(RegistryStoreContract, DeleteKeyRemovesTheWholeSubtree) {
  for (const char* sub : {"T\\A\\A1\\A11", "T\\A\\A1\\A12", "T\\A\\A2", "T\\B\\B1"}) this->env_.CreateKey(sub);
  this->env_.SetValue("T\\A\\A1\\A11", "Deep", regtype::kString, TextBytes("x"));
  this->env_.SetValue("T\\A", "", regtype::kString, TextBytes("default"));
  auto cursor = this->Cursor();
  ASSERT_TRUE(cursor->OpenKey(this->Absolute("T")));
  EXPECT_TRUE(cursor->DeleteKey("a"));
  EXPECT_EQ(cursor->CurrentPath(), this->env_.Scratch() + "\\T");
  EXPECT_FALSE(cursor->KeyExists("A"));
  EXPECT_TRUE(cursor->KeyExists("B\\B1"));
  EXPECT_EQ(cursor->GetKeyInfo().subkeyCount, 1u);

  EXPECT_TRUE(cursor->DeleteKey(this->Absolute("T\\B")));
  EXPECT_FALSE(cursor->KeyExists("B"));
  EXPECT_FALSE(cursor->DeleteKey("Missing"));
  EXPECT_FALSE(cursor->DeleteKey("")) << "an empty path names no subkey";
  EXPECT_TRUE(cursor->KeyExists(this->Absolute("T")));
}

TYPED_TEST_P(RegistryStoreContract, DeleteValueRemovesOneValue) {
  this->env_.CreateKey("D");
  for (const char* name : {"", "First", "Second"}) this->env_.SetValue("D", name, regtype::kString, TextBytes(name));
  auto cursor = this->Cursor();
  EXPECT_FALSE(cursor->DeleteValue("First")) << "no key is open";
  ASSERT_TRUE(cursor->OpenKey(this->Absolute("D")));
  EXPECT_TRUE(cursor->DeleteValue("first"));
  EXPECT_FALSE(cursor->ValueExists("First"));
  EXPECT_FALSE(cursor->DeleteValue("First"));
  EXPECT_TRUE(cursor->DeleteValue(""));
  std::vector<std::string> names;
  cursor->GetValueNames(names);
  EXPECT_EQ(names, std::vector<std::string>{"Second"});
}

TYPED_TEST_P(RegistryStoreContract, LooksUpNamesWithoutRegardToCase) {
  this->env_.CreateKey("\xC3\x96lkeller\\Sub");
  this->env_.SetValue("\xC3\x96lkeller", "\xC3\x84rger", regtype::kString, TextBytes("found"));
  auto cursor = this->Cursor();
  ASSERT_TRUE(cursor->OpenKey(this->Absolute("\xC3\xB6LKELLER")));
  EXPECT_EQ(cursor->ReadString("\xC3\xA4RGER"), "found");
  EXPECT_EQ(cursor->ReadRawValue("\xC3\xA4rger")->name, "\xC3\xA4rger");
  std::vector<std::string> names;
  cursor->GetSubkeyNames(names);
  EXPECT_EQ(names, std::vector<std::string>{"Sub"});
  cursor->GetValueNames(names);
  EXPECT_EQ(names, std::vector<std::string>{"\xC3\x84rger"}) << "enumeration gives the stored case";
}

TYPED_TEST_P(RegistryStoreContract, HandlesAValueNameOfTheLongestLength) {
  const std::string longName = std::string(16383 - 4, 'n') + "Tail";
  this->env_.CreateKey("L");
  this->env_.SetValue("L", "short", regtype::kDword, DwordBytes(1));
  this->env_.SetValue("L", longName, regtype::kString, TextBytes("long"));
  auto cursor = this->Cursor();
  ASSERT_TRUE(cursor->OpenKey(this->Absolute("L")));
  std::vector<std::string> names;
  cursor->GetValueNames(names);
  ASSERT_EQ(names.size(), 2u);
  const std::string& listed = names[0] == "short" ? names[1] : names[0];
  EXPECT_EQ(listed.size(), 16383u);
  EXPECT_TRUE(listed == longName);
  EXPECT_EQ(cursor->ReadString(listed), "long");
}

REGISTER_TYPED_TEST_SUITE_P(RegistryStoreContract, OpenKeyFollowsThePathRules,
                            OpenSubkeyOpensBelowTheCurrentKeyInACursorOfItsOwn,
                            OpenedKeyIsWhereValuesAreReadAndRelativePathsStart,
                            CloseKeyMakesRelativePathsCountFromTheRootAgain,
                            SetRootClosesTheCurrentKeyAndMovesWherePathsStart,
                            ReadOnlyCursorReadsButCannotDeleteValues, KeyDeniedFullAccessOpensOnlyForReading,
                            EnumeratesSubkeysSortedAndValuesInCreationOrder, ReportsKindSizeAndRawDataOfEveryType,
                            MissingValueReadsAsAbsent, ReadStringReturnsTheTextUpToTheFirstNul,
                            ReadStringOfAnotherKindRaisesInvalidDataType, ReadIntegerReadsDwordsAndRaisesTheTwoErrors,
                            ReadBytesCopiesAtMostTheCapacity, KeyExistsLeavesTheCursorWhereItWas,
                            KeyInfoCountsDirectSubkeysAndValues, DeleteKeyRemovesTheWholeSubtree,
                            DeleteValueRemovesOneValue, LooksUpNamesWithoutRegardToCase,
                            HandlesAValueNameOfTheLongestLength);

}  // namespace quillet::testing
