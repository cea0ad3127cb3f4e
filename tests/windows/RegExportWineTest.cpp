// The export writer against the system's registry editor: random trees are created in the real
// registry, exported, deleted, and brought back by Wine's "regedit /s"; names, types and bytes
// must come back as they were.
#include <gtest/gtest.h>

#include <iostream>
#include <map>

#include "RegeditPeer.h"
#include "contract/RandomRegistryTree.h"
#include "main/RegExport.h"
#include "platform/RegistryDump.h"
#include "platform/memory/MemoryRegistry.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/WideString.h"
#include "platform/win32/Win32.h"
#include "platform/win32/Win32AnsiCodePage.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Registry.h"

namespace quillet::testing {
namespace {

::testing::AssertionResult Create(HKEY parent, const RandomKey& key) {
  win32::UniqueKey handle;
  LSTATUS status = ::RegCreateKeyExW(parent, win32::ToWide(key.name).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                     handle.put(), nullptr);
  if (status != ERROR_SUCCESS) return ::testing::AssertionFailure() << "cannot create key " << key.name << ": " << status;
  for (const RegistryValue& value : key.values) {
    status = ::RegSetValueExW(handle.get(), win32::ToWide(value.name).c_str(), 0, value.type, value.data.data(),
                              static_cast<DWORD>(value.data.size()));
    if (status != ERROR_SUCCESS) return ::testing::AssertionFailure() << "cannot set " << value.name << ": " << status;
  }
  for (const RandomKey& subkey : key.subkeys) {
    if (auto created = Create(handle.get(), subkey); !created) return created;
  }
  return ::testing::AssertionSuccess();
}

// The kinds every run must cover, beside the random ones.
RandomKey FixedValues() {
  RandomKey key{"Fixed", {}, {}};
  std::vector<uint8_t> megabyte(1 << 20);
  for (size_t i = 0; i < megabyte.size(); ++i) megabyte[i] = static_cast<uint8_t>(i * 7 + (i >> 8));
  key.values.push_back({"Megabyte", regtype::kBinary, std::move(megabyte)});
  key.values.push_back({"Qword", regtype::kQword, {8, 7, 6, 5, 4, 3, 2, 1}});
  std::vector<uint8_t> list = Utf16LeBytes("");
  for (const char* item : {"one", "", "", "caf\xC3\xA9"}) {
    auto bytes = Utf16LeBytes(item);
    list.insert(list.end(), bytes.begin(), bytes.end());
  }
  list.push_back(0);
  list.push_back(0);
  key.values.push_back({"Multi with empty items", regtype::kMultiString, std::move(list)});
  key.values.push_back({"None", regtype::kNone, {}});
  key.values.push_back({"None with bytes", regtype::kNone, {1, 2, 3}});
  key.values.push_back({"Type 0x100", 0x100, {1, 2, 3, 4, 5}});
  return key;
}

// Known difference of the peer: Wine's regedit ends a non-empty hex(1) or hex(2) text that has
// no terminating NUL with one. The text reads the same; the importer adds two bytes.
RandomKey AsThePeerImportsIt(RandomKey key) {
  for (RegistryValue& value : key.values) {
    const bool text = value.type == regtype::kString || value.type == regtype::kExpandString;
    const size_t size = value.data.size();
    if (text && size >= 2 && (value.data[size - 2] != 0 || value.data[size - 1] != 0)) value.data.insert(value.data.end(), 2, 0);
  }
  for (RandomKey& subkey : key.subkeys) subkey = AsThePeerImportsIt(std::move(subkey));
  return key;
}

// The value names of a key as the registry holds them, NULs inside included.
std::vector<std::string> ValueNamesWithNuls(const std::string& path) {
  std::vector<std::string> names;
  win32::UniqueKey key;
  if (::RegOpenKeyExW(HKEY_CURRENT_USER, win32::ToWide(path).c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS) {
    return names;
  }
  wchar_t name[16384];
  for (DWORD index = 0;; ++index) {
    DWORD length = std::size(name);
    if (::RegEnumValueW(key.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    names.push_back(win32::ToUtf8(std::wstring_view(name, length)));
  }
  return names;
}

class RegExportWine : public ::testing::Test {
 protected:
  void SetUp() override {
    if (::GetACP() != 1252) GTEST_SKIP() << "the random trees are Windows-1252 text; the code page is " << ::GetACP();
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    file_ = std::wstring(temp) + L"quillet-export-" + std::to_wstring(::GetCurrentProcessId()) + L".reg";
    Clean();
  }
  void TearDown() override { Clean(); }
  void Clean() {
    ::RegDeleteTreeW(HKEY_CURRENT_USER, win32::ToWide(kScratch).c_str());
    ::RegDeleteTreeW(HKEY_CURRENT_USER, win32::ToWide(kExpected).c_str());
    ::DeleteFileW(file_.c_str());
  }

  // Creates the subkeys of tree below path in the live registry.
  ::testing::AssertionResult Seed(const std::string& path, const RandomKey& tree) {
    win32::UniqueKey parent;
    LSTATUS status = ::RegCreateKeyExW(HKEY_CURRENT_USER, win32::ToWide(path).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                       nullptr, parent.put(), nullptr);
    if (status != ERROR_SUCCESS) return ::testing::AssertionFailure() << "cannot create " << path << ": " << status;
    for (const RandomKey& subkey : tree.subkeys) {
      if (auto created = Create(parent.get(), subkey); !created) return created;
    }
    return ::testing::AssertionSuccess();
  }

  const std::string kScratch = "Software\\QuilletTests\\Export" + std::to_string(::GetCurrentProcessId());
  const std::string kExpected = kScratch + "Expected";
  std::wstring file_;
};

TEST_F(RegExportWine, RegistryEditorBringsBackEveryKindAsWritten) {
  RandomKey tree{"", {}, {FixedValues()}};
  for (uint32_t seed : {11u, 12u, 13u, 14u}) {
    RandomTreeMaker maker(seed);
    tree.subkeys.push_back(maker.Make("Seed " + std::to_string(seed), 3, 12));
  }
  win32::Win32Registry live;
  ASSERT_TRUE(Seed(kExpected, AsThePeerImportsIt(tree)));
  const std::string expected = WithSortedValues(DumpRegistryTree(live, RootKey::CurrentUser, kExpected));
  ASSERT_EQ(::RegDeleteTreeW(HKEY_CURRENT_USER, win32::ToWide(kExpected).c_str()), ERROR_SUCCESS);
  ASSERT_TRUE(Seed(kScratch, tree));

  win32::Win32FileSystem files;
  win32::Win32AnsiCodePage ansi;
  ExportToRegFile({files, ansi, live}, win32::ToUtf8(file_), RootKey::CurrentUser, ExportScope::WholeKey, "", kScratch);
  ASSERT_EQ(::RegDeleteTreeW(HKEY_CURRENT_USER, win32::ToWide(kScratch).c_str()), ERROR_SUCCESS);
  ASSERT_EQ(DumpRegistryTree(live, RootKey::CurrentUser, kScratch), "");

  ASSERT_TRUE(ImportWithRegedit(file_));
  EXPECT_EQ(WithSortedValues(DumpRegistryTree(live, RootKey::CurrentUser, kScratch)), expected);

  std::map<uint32_t, int> byType;
  CountValues(tree, byType);
  int total = 0;
  std::cout << "[ round trip ] values by type:";
  for (const auto& [type, count] : byType) {
    std::cout << " 0x" << std::hex << type << std::dec << "=" << count;
    total += count;
  }
  std::cout << "; " << total << " values in all\n";
  EXPECT_GE(total, 300);
  for (uint32_t type : {regtype::kNone, regtype::kString, regtype::kExpandString, regtype::kBinary, regtype::kDword,
                        regtype::kMultiString, regtype::kQword, 0x100u}) {
    EXPECT_GT(byType[type], 0) << "no value of type " << type;
  }
}

// A NUL or a Ctrl+Z in a value name: the writer may write such a name only when the registry
// editor brings it back exactly. A name the writer refuses is written raw by hand, to prove the
// editor would not have brought it back either.
TEST_F(RegExportWine, ValueNamesWithNulOrCtrlZAreWrittenOnlyWhenTheEditorBringsThemBack) {
  win32::Win32FileSystem files;
  win32::Win32AnsiCodePage ansi;
  win32::Win32Registry live;
  for (const std::string& name : {std::string("a\0b", 3), std::string("a\x1A" "b"), std::string("\x1A" "ab"),
                                  std::string("ab\x1A")}) {
    SCOPED_TRACE("value name of " + std::to_string(name.size()) + " bytes, control byte at " +
                 std::to_string(name.find_first_of(std::string("\0\x1A", 2))));
    Clean();
    memory::MemoryRegistry store;
    store.key("HKEY_CURRENT_USER\\" + kScratch).dword(name, 7);
    bool written = true;
    try {
      ExportToRegFile({files, ansi, store}, win32::ToUtf8(file_), RootKey::CurrentUser, ExportScope::WholeKey, "",
                      kScratch);
    } catch (const ExportNotRepresentable&) {
      written = false;
      const std::string raw = "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\" + kScratch + "]\r\n\"" + name + "\"=dword:00000007\r\n";
      ASSERT_TRUE(files.WriteFile(win32::ToUtf8(file_), raw));
    }
    ASSERT_TRUE(ImportWithRegedit(file_));
    const std::vector<std::string> imported = ValueNamesWithNuls(kScratch);
    const bool exact = imported == std::vector<std::string>{name};
    EXPECT_EQ(written, exact) << (written ? "written, but the registry editor brings back another name"
                                          : "refused, yet the registry editor brings the name back exactly")
                              << "; " << imported.size() << " value(s) came back";
  }
}

}  // namespace
}  // namespace quillet::testing
