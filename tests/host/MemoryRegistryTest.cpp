#include "platform/memory/MemoryRegistry.h"

#include <gtest/gtest.h>
#include <pthread.h>

#include <atomic>
#include <functional>
#include <stdexcept>
#include <thread>

#include "contract/RegistryStoreContract.h"

namespace quillet::testing {
namespace {

using memory::MemoryRegistry;

class MemoryEnvironment {
 public:
  static constexpr bool kValuesInCreationOrder = true;

  explicit MemoryEnvironment(std::string_view testName)
      : scratch_("Software\\QuilletTests\\" + std::string(testName)) {
    registry_.key(Full({}));
  }
  const std::string& Scratch() const { return scratch_; }
  void CreateKey(std::string_view sub) { registry_.key(Full(sub)); }
  void SetValue(std::string_view sub, std::string_view name, uint32_t type, std::vector<uint8_t> data) {
    registry_.key(Full(sub)).raw(name, type, std::move(data));
  }
  bool DenyFullAccess(std::string_view sub) {
    registry_.key(Full(sub)).denyFullAccess();
    return true;
  }
  RegistryStore& Store() { return registry_; }

 private:
  std::string Full(std::string_view sub) const {
    std::string path = "HKEY_CURRENT_USER\\" + scratch_;
    if (!sub.empty()) path.append("\\").append(sub);
    return path;
  }

  std::string scratch_;
  MemoryRegistry registry_;
};

INSTANTIATE_TYPED_TEST_SUITE_P(Memory, RegistryStoreContract, ::testing::Types<MemoryEnvironment>);

std::vector<std::string> SubkeysOf(RegistryStore& store, std::string_view path) {
  auto cursor = store.NewCursor();
  std::vector<std::string> names;
  if (cursor->OpenKey(path)) cursor->GetSubkeyNames(names);
  return names;
}

TEST(MemoryRegistry, EnumeratesSubkeysSortedByTheirUpperCasedNames) {
  MemoryRegistry reg;
  // Upper-cased, "[" and "_" sort after the letters, as on Windows (Wine sorts them before).
  for (const char* name : {"_u", "\xC3\xA4", "Z", "[k", "a", "B"}) reg.key(std::string("HKEY_CURRENT_USER\\S\\") + name);
  EXPECT_EQ(SubkeysOf(reg, "S"), (std::vector<std::string>{"a", "B", "Z", "[k", "_u", "\xC3\xA4"}));
}

TEST(MemoryRegistry, SeedingANameAgainInAnotherCaseReusesTheKeyAndReplacesTheValueInPlace) {
  MemoryRegistry reg;
  reg.key("HKEY_LOCAL_MACHINE\\Software\\Vendor").str("Path", "C:\\Old\\app.exe").dword("Count", 0);
  reg.key("hkey_local_machine\\SOFTWARE\\vendor").str("PATH", "C:\\New\\app.exe");
  auto cursor = reg.NewCursor();
  cursor->SetRoot(RootKey::LocalMachine);
  ASSERT_TRUE(cursor->OpenKey("Software\\Vendor"));
  std::vector<std::string> names;
  cursor->GetValueNames(names);
  EXPECT_EQ(names, (std::vector<std::string>{"Path", "Count"}));
  EXPECT_EQ(cursor->ReadString("path"), "C:\\New\\app.exe");
  EXPECT_EQ(SubkeysOf(reg, "\\"), std::vector<std::string>{}) << "HKEY_CURRENT_USER is untouched";
}

TEST(MemoryRegistry, BuilderNeedsALongRootName) {
  MemoryRegistry reg;
  EXPECT_THROW(reg.key("Software\\Vendor"), std::invalid_argument);
  EXPECT_THROW(reg.key("HKLM\\Software"), std::invalid_argument);
}

TEST(MemoryRegistry, KeyDeniedFullAccessCanBeReadButNotDeleted) {
  MemoryRegistry reg;
  reg.key("HKEY_CURRENT_USER\\Locked").str("Name", "x").denyFullAccess().subkey("Child");
  auto cursor = reg.NewCursor();
  EXPECT_FALSE(cursor->OpenKey("Locked"));
  EXPECT_TRUE(cursor->KeyExists("Locked"));
  EXPECT_FALSE(cursor->DeleteKey("Locked"));
  EXPECT_EQ(reg.DeletedKeys(), std::vector<std::string>{"HKEY_CURRENT_USER\\Locked\\Child"})
      << "its subkeys are enumerated for reading and go first";
  cursor->SetReadOnly();
  ASSERT_TRUE(cursor->OpenKey("Locked"));
  EXPECT_FALSE(cursor->DeleteValue("Name"));
  EXPECT_EQ(cursor->ReadString("Name"), "x");
}

TEST(MemoryRegistry, DeleteKeyGoesDepthFirstLastIndexFirst) {
  MemoryRegistry reg;
  for (const char* path : {"T\\A\\A1", "T\\A\\A2\\X", "T\\B", "T\\C\\C1"}) reg.key(std::string("HKEY_USERS\\") + path);
  auto cursor = reg.NewCursor();
  cursor->SetRoot(RootKey::Users);
  EXPECT_TRUE(cursor->DeleteKey("T"));
  EXPECT_EQ(reg.DeletedKeys(), (std::vector<std::string>{
                                   "HKEY_USERS\\T\\C\\C1", "HKEY_USERS\\T\\C", "HKEY_USERS\\T\\B",
                                   "HKEY_USERS\\T\\A\\A2\\X", "HKEY_USERS\\T\\A\\A2", "HKEY_USERS\\T\\A\\A1",
                                   "HKEY_USERS\\T\\A", "HKEY_USERS\\T"}));
  EXPECT_EQ(reg.Dump(), "");
}

TEST(MemoryRegistry, RefusedDeletesFailAndLeaveTheRestDeleted) {
  struct Case {
    const char* description;
    const char* refused;  // key whose delete is refused, below HKEY_CURRENT_USER\T
    bool deleted;
    std::vector<std::string> remaining;  // subkeys of T afterwards; "-" when T itself is gone
  };
  const std::vector<Case> cases = {
      {"nothing refused", "", true, {"-"}},
      {"a subkey refused keeps its parent, which still has a subkey", "B", false, {"B"}},
      {"a deep subkey refused keeps its branch", "A\\A1", false, {"A"}},
      {"the key itself refused after its subkeys went", ".", false, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.description);
    MemoryRegistry reg;
    for (const char* path : {"T\\A\\A1", "T\\B", "T\\C"}) reg.key(std::string("HKEY_CURRENT_USER\\") + path);
    if (std::string_view(c.refused) == ".") reg.key("HKEY_CURRENT_USER\\T").refuseDelete();
    else if (*c.refused) reg.key(std::string("HKEY_CURRENT_USER\\T\\") + c.refused).refuseDelete();
    auto cursor = reg.NewCursor();
    EXPECT_EQ(cursor->DeleteKey("T"), c.deleted);
    if (c.remaining == std::vector<std::string>{"-"}) {
      EXPECT_FALSE(cursor->KeyExists("T"));
    } else {
      EXPECT_EQ(SubkeysOf(reg, "T"), c.remaining);
    }
  }
}

TEST(MemoryRegistry, RefusedValueDeleteFailsAndKeepsTheValue) {
  MemoryRegistry reg;
  reg.key("HKEY_CURRENT_USER\\V").str("Stays", "a").str("Goes", "b").refuseValueDelete("STAYS");
  auto cursor = reg.NewCursor();
  ASSERT_TRUE(cursor->OpenKey("V"));
  EXPECT_FALSE(cursor->DeleteValue("Stays"));
  EXPECT_TRUE(cursor->DeleteValue("Goes"));
  std::vector<std::string> names;
  cursor->GetValueNames(names);
  EXPECT_EQ(names, std::vector<std::string>{"Stays"});
}

TEST(MemoryRegistry, CursorOnADeletedKeyReadsNothingEvenWhenTheKeyComesBack) {
  MemoryRegistry reg;
  reg.key("HKEY_CURRENT_USER\\T\\A").str("Name", "x").subkey("Sub");
  auto holder = reg.NewCursor();
  ASSERT_TRUE(holder->OpenKey("T\\A"));
  ASSERT_TRUE(reg.NewCursor()->DeleteKey("T"));
  reg.key("HKEY_CURRENT_USER\\T\\A").str("Name", "new").subkey("Sub");

  EXPECT_TRUE(holder->HasCurrentKey()) << "like a handle to a deleted key, it stays open";
  EXPECT_FALSE(holder->ValueExists("Name"));
  EXPECT_EQ(holder->ReadString("Name"), "");
  EXPECT_FALSE(holder->OpenKey("Sub"));
  EXPECT_FALSE(holder->KeyExists("Sub"));
  EXPECT_EQ(holder->GetKeyInfo().valueCount, 0u);
  EXPECT_TRUE(holder->OpenKey("\\T\\A")) << "an absolute open finds the new key";
  EXPECT_EQ(holder->ReadString("Name"), "new");
}

TEST(MemoryRegistry, DumpShowsEveryKeyWithItsValuesAndFlags) {
  MemoryRegistry reg;
  reg.key("HKEY_LOCAL_MACHINE\\Software\\Vendor")
      .str("", "x")
      .str("Path", "C:\\Old\\app.exe")
      .dword("Count", 10)
      .expand("Env", "%TEMP%")
      .binary("Blob", {0x00, 0xAB})
      .multi("List", {"a", "b"})
      .qword("Big", 1)
      .raw("Odd", 0x100, {1})
      .raw("Unterminated", regtype::kString, {0x41, 0x00})
      .refuseValueDelete("Path")
      .subkey("Locked")
      .denyFullAccess();
  reg.key("HKEY_CURRENT_USER\\Empty").refuseDelete();
  EXPECT_EQ(reg.Dump(),
            "[HKEY_CURRENT_USER\\Empty] ; refuse delete\n"
            "[HKEY_LOCAL_MACHINE\\Software]\n"
            "[HKEY_LOCAL_MACHINE\\Software\\Vendor] ; refuse delete of value PATH\n"
            "@ = REG_SZ \"x\"\n"
            "\"Path\" = REG_SZ \"C:\\Old\\app.exe\"\n"
            "\"Count\" = REG_DWORD 0x0000000A\n"
            "\"Env\" = REG_EXPAND_SZ \"%TEMP%\"\n"
            "\"Blob\" = REG_BINARY hex: 00 AB\n"
            "\"List\" = REG_MULTI_SZ [\"a\", \"b\"]\n"
            "\"Big\" = REG_QWORD 0x0000000000000001\n"
            "\"Odd\" = type 0x100 hex: 01\n"
            "\"Unterminated\" = REG_SZ hex: 41 00\n"
            "[HKEY_LOCAL_MACHINE\\Software\\Vendor\\Locked] ; deny full access\n");
}

TEST(MemoryRegistry, RemoveKeyTreeAndRemoveValueIgnoreInjectedRefusals) {
  MemoryRegistry reg;
  reg.key("HKEY_CURRENT_USER\\T\\A").refuseDelete().str("V", "x").refuseValueDelete("V");
  EXPECT_TRUE(reg.RemoveValue(RootKey::CurrentUser, "T\\A", "v"));
  EXPECT_FALSE(reg.RemoveValue(RootKey::CurrentUser, "T\\A", "v"));
  EXPECT_TRUE(reg.RemoveKeyTree(RootKey::CurrentUser, "t"));
  EXPECT_FALSE(reg.RemoveKeyTree(RootKey::CurrentUser, "T"));
  EXPECT_FALSE(reg.RemoveKeyTree(RootKey::CurrentUser, "")) << "a root is never removed";
  EXPECT_EQ(reg.Dump(), "");
  EXPECT_TRUE(reg.DeletedKeys().empty()) << "only deletes through cursors are recorded";
}

// Runs the body on a thread whose stack holds a few thousand calls at most.
void OnSmallStack(std::function<void()> body) {
  pthread_attr_t attributes;
  ASSERT_EQ(pthread_attr_init(&attributes), 0);
  ASSERT_EQ(pthread_attr_setstacksize(&attributes, 256 * 1024), 0);
  pthread_t thread;
  ASSERT_EQ(pthread_create(
                &thread, &attributes,
                [](void* argument) -> void* {
                  (*static_cast<std::function<void()>*>(argument))();
                  return nullptr;
                },
                &body),
            0);
  pthread_join(thread, nullptr);
  pthread_attr_destroy(&attributes);
}

// Trees are freed and walked without a call per level: a key far deeper than the stack could
// take is removed and destroyed.
TEST(MemoryRegistry, AKeyOfAHundredThousandLevelsIsRemovedAndFreedWithoutRecursion) {
  std::string path = "HKEY_CURRENT_USER\\Deep";
  for (int i = 0; i < 100000; ++i) path += "\\k";
  OnSmallStack([&path] {
    {
      MemoryRegistry reg;
      reg.key(path).str("V", "x");
      reg.key("HKEY_CURRENT_USER\\Other\\k");
      EXPECT_TRUE(reg.RemoveKeyTree(RootKey::CurrentUser, "Deep"));
      EXPECT_EQ(reg.Dump(), "[HKEY_CURRENT_USER\\Other]\n[HKEY_CURRENT_USER\\Other\\k]\n");
    }
    MemoryRegistry reg;
    reg.key(path).str("V", "x");
  });
}

// The scan thread reads while the GUI thread deletes, each with its own cursor.
TEST(MemoryRegistry, CursorsOnTwoThreadsWorkAtTheSameTime) {
  MemoryRegistry reg;
  constexpr int kKeys = 200;
  for (int i = 0; i < kKeys; ++i) {
    reg.key("HKEY_CURRENT_USER\\Scan\\K" + std::to_string(i)).str("Path", "C:\\" + std::to_string(i)).dword("N", i);
  }
  std::atomic<bool> done{false};
  std::atomic<int> passes{0};
  std::atomic<int> inconsistent{0};
  std::thread scanner([&] {
    auto cursor = reg.NewCursor();
    cursor->SetReadOnly();
    std::vector<std::string> names;
    while (!done.load()) {
      if (!cursor->OpenKey("\\Scan")) continue;
      cursor->GetSubkeyNames(names);
      for (const std::string& name : names) {
        if (!cursor->OpenKey("\\Scan\\" + name)) continue;
        std::string path = cursor->ReadString("Path");
        if (!path.empty() && path != "C:\\" + name.substr(1)) ++inconsistent;
      }
      ++passes;
    }
  });
  while (passes.load() == 0) std::this_thread::yield();
  auto deleter = reg.NewCursor();
  ASSERT_TRUE(deleter->OpenKey("Scan"));
  for (int i = kKeys - 1; i >= 0; --i) {
    const std::string name = "K" + std::to_string(i);
    if (i % 2 == 0) {
      EXPECT_TRUE(deleter->DeleteKey(name));
    } else {
      ASSERT_TRUE(deleter->OpenKey("\\Scan\\" + name));
      EXPECT_TRUE(deleter->DeleteValue("Path"));
      ASSERT_TRUE(deleter->OpenKey("\\Scan"));
    }
  }
  for (int seen = passes.load(); passes.load() < seen + 2;) std::this_thread::yield();
  done = true;
  scanner.join();
  EXPECT_EQ(inconsistent.load(), 0);
  EXPECT_EQ(deleter->GetKeyInfo().subkeyCount, static_cast<uint32_t>(kKeys / 2));
}

}  // namespace
}  // namespace quillet::testing
