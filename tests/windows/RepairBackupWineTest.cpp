// The repair's backup and delete against Wine's real registry and files: access lists set through
// SetSecurityInfo, and a value name with a NUL inside made through the native call.
#include <gtest/gtest.h>

#include "platform/win32/Win32.h"

#include <winternl.h>

#include "RegeditPeer.h"
#include "RegistrySeed.h"
#include "ScratchFolder.h"
#include "main/Repair.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/WideString.h"
#include "platform/win32/Win32AnsiCodePage.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Registry.h"

namespace quillet::testing {
namespace {

using win32::ToUtf8;
using win32::ToWide;
using win32::UniqueKey;

constexpr DWORD kReadAndDelete = KEY_READ | DELETE;

class RepairBackupWineTest : public ::testing::Test {
 protected:
  RepairBackupWineTest()
      : scratch_(L"Software\\QuilletTests\\RepairBackup." + std::to_wstring(::GetCurrentProcessId())) {
    ::RegDeleteTreeW(HKEY_CURRENT_USER, scratch_.c_str());
  }
  ~RepairBackupWineTest() override {
    // Everything back for everyone first, so the tree can go.
    for (UniqueKey& key : locked_) RestrictKeyAccess(key.get(), KEY_ALL_ACCESS);
    locked_.clear();
    ::RegDeleteTreeW(HKEY_CURRENT_USER, scratch_.c_str());
  }

  UniqueKey Create(const std::wstring& sub) {
    UniqueKey key;
    ::RegCreateKeyExW(HKEY_CURRENT_USER, (scratch_ + L"\\" + sub).c_str(), 0, nullptr, 0,
                      KEY_ALL_ACCESS | READ_CONTROL | WRITE_DAC, nullptr, key.put(), nullptr);
    return key;
  }
  static void SetText(HKEY key, const std::wstring& name, const std::wstring& text) {
    ::RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                     static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  }
  // The key keeps a handle that may undo the lock afterwards.
  void Lock(const std::wstring& sub, DWORD rights) {
    UniqueKey key = Create(sub);
    ASSERT_TRUE(RestrictKeyAccess(key.get(), rights)) << ToUtf8(sub);
    locked_.push_back(std::move(key));
  }
  bool Exists(const std::wstring& sub) {
    UniqueKey key;
    return ::RegOpenKeyExW(HKEY_CURRENT_USER, (scratch_ + L"\\" + sub).c_str(), 0, KEY_QUERY_VALUE, key.put()) ==
           ERROR_SUCCESS;
  }
  std::string Below(const std::wstring& sub) { return ToUtf8(scratch_ + L"\\" + sub); }
  BackupTarget Backup() { return {{files_, ansi_, registry_}, file_}; }

  std::wstring scratch_;
  ScratchFolder folder_;
  std::string file_ = folder_.At("Backup.reg");
  win32::Win32FileSystem files_;
  win32::Win32AnsiCodePage ansi_;
  win32::Win32Registry registry_;
  std::vector<UniqueKey> locked_;
};

TEST_F(RepairBackupWineTest, ASubkeyThatReadsAndDeletesButDoesNotOpenFullyIsBackedUpInFull) {
  SetText(Create(L"Stale").get(), L"", L"C:\\Gone\\stale.exe");
  SetText(Create(L"Stale\\Locked").get(), L"Secret", L"precious");
  Lock(L"Stale\\Locked", kReadAndDelete);
  UniqueKey probe;
  ASSERT_NE(::RegOpenKeyExW(HKEY_CURRENT_USER, (scratch_ + L"\\Stale\\Locked").c_str(), 0, KEY_ALL_ACCESS, probe.put()),
            ERROR_SUCCESS)
      << "the access list does not hold here";

  EXPECT_TRUE(DeleteKeyWithBackup(Backup(), "HKEY_CURRENT_USER", Below(L"Stale")));
  EXPECT_FALSE(Exists(L"Stale"));
  EXPECT_NE(GetFileOrEmpty(file_).find("\"Secret\"=\"precious\""), std::string::npos) << GetFileOrEmpty(file_);

  ASSERT_TRUE(ImportWithRegedit(ToWide(file_)));
  UniqueKey back;
  ASSERT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, (scratch_ + L"\\Stale\\Locked").c_str(), 0, KEY_READ, back.put()),
            ERROR_SUCCESS);
  wchar_t text[32] = {};
  DWORD size = sizeof(text);
  ASSERT_EQ(::RegQueryValueExW(back.get(), L"Secret", nullptr, nullptr, reinterpret_cast<BYTE*>(text), &size),
            ERROR_SUCCESS);
  EXPECT_STREQ(text, L"precious");
}

TEST_F(RepairBackupWineTest, ASubkeyThatDoesNotOpenForReadingKeepsTheWholeTree) {
  SetText(Create(L"Sealed").get(), L"A", L"1");
  SetText(Create(L"Sealed\\Inner").get(), L"Secret", L"x");
  Lock(L"Sealed\\Inner", DELETE);

  EXPECT_FALSE(DeleteKeyWithBackup(Backup(), "HKEY_CURRENT_USER", Below(L"Sealed")));
  EXPECT_TRUE(Exists(L"Sealed"));
  EXPECT_FALSE(files_.FileExists(file_)) << "nothing was backed up, so nothing is written";
  // Through the handle opened before the lock: a deleted key answers no query.
  EXPECT_EQ(::RegQueryValueExW(locked_.front().get(), L"Secret", nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
}

TEST_F(RepairBackupWineTest, AValueNameWithANulDeletesNothingInItsPlace) {
  UniqueKey key = Create(L"Nul");
  SetText(key.get(), L"a", L"unrelated");
  using SetValueCall = LONG(NTAPI*)(HANDLE, PUNICODE_STRING, ULONG, ULONG, PVOID, ULONG);
  auto setValue = reinterpret_cast<SetValueCall>(
      reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "NtSetValueKey")));
  ASSERT_NE(setValue, nullptr);
  wchar_t name[] = {L'a', L'\0', L'b'};
  UNICODE_STRING counted{sizeof(name), sizeof(name), name};
  const wchar_t data[] = L"odd";
  ASSERT_EQ(setValue(key.get(), &counted, 0, REG_SZ, const_cast<wchar_t*>(data), sizeof(data)), 0);

  const std::string nul("a\0b", 3);
  auto cursor = registry_.NewCursor();
  ASSERT_TRUE(cursor->OpenKey("\\" + Below(L"Nul")));
  std::vector<std::string> names;
  cursor->GetValueNames(names);
  EXPECT_EQ(names, (std::vector<std::string>{"a", nul}));
  EXPECT_FALSE(cursor->ValueExists(nul)) << "the system would answer for \"a\"";
  EXPECT_FALSE(cursor->DeleteValue(nul));

  EXPECT_FALSE(DeleteValueWithBackup(Backup(), "HKEY_CURRENT_USER", Below(L"Nul"), nul));
  EXPECT_FALSE(DeleteKeyWithBackup(Backup(), "HKEY_CURRENT_USER", Below(L"Nul")));
  DWORD values = 0;
  ASSERT_EQ(::RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr,
                               nullptr, nullptr, nullptr),
            ERROR_SUCCESS);
  EXPECT_EQ(values, 2u);
  EXPECT_EQ(::RegQueryValueExW(key.get(), L"a", nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
  EXPECT_FALSE(files_.FileExists(file_));
}

}  // namespace
}  // namespace quillet::testing
