// The unattended run end to end, in a prefix made fresh for it (windows.e2e): stale and healthy
// entries of several categories and an options file are seeded, "quillet.exe -cleanonce" runs,
// and exactly the stale entries the user did not ignore are gone, all of them in one dated
// backup that the registry editor brings back as they were.
#include <gtest/gtest.h>

#include "platform/win32/Win32.h"

#include <winternl.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "GuiDriver.h"
#include "LiveScan.h"
#include "RegeditPeer.h"
#include "RegistrySeed.h"
#include "ScratchFolder.h"
#include "main/RepairTarget.h"
#include "main/ResultFilter.h"
#include "main/SafeKeys.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/WideString.h"
#include "platform/win32/Win32.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32SystemInfo.h"
#include "settings/RegGlobal.h"

namespace quillet::testing {
namespace {

using namespace gui;
using win32::ToUtf8;
using win32::ToWide;

constexpr const wchar_t* kAppPaths = L"Software\\Microsoft\\Windows\\CurrentVersion\\App Paths";
constexpr const wchar_t* kSharedDlls = L"Software\\Microsoft\\Windows\\CurrentVersion\\SharedDlls";
constexpr const wchar_t* kRun = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const wchar_t* kFiles = L"C:\\QuilletE2e";
constexpr const wchar_t* kBackups = L"C:\\QuilletE2eBackups";
constexpr const char* kIgnoredKey =
    "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\QuilletE2eIgnored.exe";
constexpr const char* kIgnoredValue =
    "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\SharedDlls\\C:\\QuilletE2e\\ignored.dll";

void SetDword(HKEY key, const wchar_t* name, DWORD value) { SetRaw(key, name, REG_DWORD, &value, sizeof(value)); }

void MakeFile(const std::wstring& path) { PutFile(ToUtf8(path), "x"); }

// A value whose name holds a NUL, which only the native call can make.
bool SetCountedName(HKEY key, std::wstring name, DWORD type, const void* data, size_t size) {
  using SetValueCall = LONG(NTAPI*)(HANDLE, PUNICODE_STRING, ULONG, ULONG, PVOID, ULONG);
  auto setValue = reinterpret_cast<SetValueCall>(
      reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "NtSetValueKey")));
  if (!setValue) return false;
  const USHORT bytes = static_cast<USHORT>(name.size() * sizeof(wchar_t));
  UNICODE_STRING counted{bytes, bytes, name.data()};
  return setValue(key, &counted, 0, type, const_cast<void*>(data), static_cast<ULONG>(size)) == 0;
}

std::vector<std::wstring> BackupFiles() {
  std::vector<std::wstring> backups;
  WIN32_FIND_DATAW found{};
  win32::UniqueFind find(::FindFirstFileW((std::wstring(kBackups) + L"\\*").c_str(), &found));
  if (find) {
    do {
      if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) backups.push_back(found.cFileName);
    } while (::FindNextFileW(find.get(), &found));
  }
  return backups;
}

// The registry editor's export of a key and everything below it, as bytes.
std::string Export(const std::wstring& key, const std::wstring& file) { return ExportWithRegedit(key, file); }

// What a user of the stored options is offered: the rows the scanners find here, less the ones
// the filter takes away with the same lists.
std::vector<ProblemEntry> OfferedRows(std::vector<std::string> codes) {
  const std::vector<ProblemEntry> found = RunLiveScan(std::move(codes)).rows;
  const WindowsVersionCode windowsVersion = ClassifyWindowsVersion(win32::Win32SystemInfo().GetOsVersion());

  const std::vector<std::string> always(SafeKeysAlways().begin(), SafeKeysAlways().end());
  const std::vector<std::string> vista(SafeKeysVistaTo8().begin(), SafeKeysVistaTo8().end());
  const IgnoreAndSafeLists lists({kIgnoredValue}, BuildSafeList(always, {kIgnoredKey}, vista, windowsVersion));
  std::vector<ProblemEntry> offered;
  for (const ProblemEntry& row : found) {
    if (MatchesFixedPattern(row.keyPath, row.value) || lists.Covers(row.keyPath, row.value, row.action)) continue;
    offered.push_back(row);
  }
  return offered;
}

// Whether what a row stands for is still in the registry (or on disk).
bool TargetExists(const ProblemEntry& row) {
  const RepairTarget target = TargetOfRow(row.keyPath, row.value, row.action);
  if (target.isFile) return ::GetFileAttributesW(ToWide(row.keyPath).c_str()) != INVALID_FILE_ATTRIBUTES;
  win32::Win32Registry registry;
  auto cursor = registry.NewCursor();
  cursor->SetRoot(*ParseRootName(target.root));
  const std::string path = "\\" + KeyPathBelowRoot(target);
  if (!target.isValue) return cursor->KeyExists(path);
  return cursor->OpenKey(path) && cursor->ValueExists(target.value);
}

std::string Describe(const ProblemEntry& row) {
  return row.keyPath + " | " + row.value + " | " + std::to_string(static_cast<int>(row.action));
}

TEST(E2eCleanOnce, RemovesExactlyTheStaleUnignoredEntriesAndItsBackupBringsThemBack) {
  if (!std::getenv("QUILLET_E2E_FRESH_PREFIX")) GTEST_SKIP() << "runs in a prefix of its own, as windows.e2e";
  ScratchFolder scratch;
  ::CreateDirectoryW(kFiles, nullptr);
  ::CreateDirectoryW(kBackups, nullptr);
  MakeFile(std::wstring(kFiles) + L"\\here.exe");
  MakeFile(std::wstring(kFiles) + L"\\QuilletE2eHere.exe");
  MakeFile(std::wstring(kFiles) + L"\\used.dll");

  {
    // Software Locations: a stale key holding values of every kind the writer knows, a healthy
    // one, and a stale one the user ignores.
    win32::UniqueKey gone = CreateKey(HKEY_LOCAL_MACHINE, std::wstring(kAppPaths) + L"\\QuilletE2eGone.exe");
    // The scan cuts the path after the subkey's name.
    SetText(gone.get(), L"", L"C:\\QuilletE2e\\QuilletE2eGone.exe");
    SetText(gone.get(), L"Path", L"%ProgramFiles%\\Gone", REG_EXPAND_SZ);
    SetText(gone.get(), L"Quote \"and\" \\slash", L"say \"hi\" C:\\a\\");
    const wchar_t multi[] = L"one\0two\0";
    SetRaw(gone.get(), L"List", REG_MULTI_SZ, multi, sizeof(multi));
    const unsigned char blob[40] = {0, 1, 2, 3, 250, 251, 252, 253, 254, 255};
    SetRaw(gone.get(), L"Blob", REG_BINARY, blob, sizeof(blob));
    const unsigned long long big = 0x0123456789ABCDEFull;
    SetRaw(gone.get(), L"Big", REG_QWORD, &big, sizeof(big));
    SetDword(gone.get(), L"Count", 0xFFFFFFFF);
    win32::UniqueKey sub = CreateKey(gone.get(), L"Sub");
    SetText(sub.get(), L"Inner", L"below");
    // A stale key whose subkey grants reading and deleting only: its backup must still hold it all.
    win32::UniqueKey lockedOwner = CreateKey(HKEY_LOCAL_MACHINE, std::wstring(kAppPaths) + L"\\QuilletE2eLocked.exe");
    SetText(lockedOwner.get(), L"", L"C:\\QuilletE2e\\QuilletE2eLocked.exe");
    win32::UniqueKey locked = CreateKey(lockedOwner.get(), L"Locked");
    SetText(locked.get(), L"Secret", L"precious");
    ASSERT_TRUE(RestrictKeyAccess(locked.get(), KEY_READ | DELETE));
    SetText(CreateKey(HKEY_LOCAL_MACHINE, std::wstring(kAppPaths) + L"\\QuilletE2eHere.exe").get(), L"",
            L"C:\\QuilletE2e\\QuilletE2eHere.exe");
    SetText(CreateKey(HKEY_LOCAL_MACHINE, std::wstring(kAppPaths) + L"\\QuilletE2eIgnored.exe").get(), L"",
            L"C:\\QuilletE2e\\QuilletE2eIgnored.exe");
    // Shared DLLs: two stale counts, one ignored, one healthy.
    win32::UniqueKey shared = CreateKey(HKEY_LOCAL_MACHINE, kSharedDlls);
    for (const wchar_t* name : {L"C:\\QuilletE2e\\gone1.dll", L"C:\\QuilletE2e\\gone2.dll",
                                L"C:\\QuilletE2e\\ignored.dll", L"C:\\QuilletE2e\\used.dll"}) {
      SetDword(shared.get(), name, 1);
    }
    // A count of 0 under a name with a NUL: read by its start it names the healthy count above,
    // which must not go in its place.
    const DWORD zero = 0;
    ASSERT_TRUE(SetCountedName(shared.get(), std::wstring(L"C:\\QuilletE2e\\used.dll") + L'\0' + L"x", REG_DWORD, &zero,
                               sizeof(zero)));
    // Startup programs: one stale, one healthy.
    win32::UniqueKey run = CreateKey(HKEY_CURRENT_USER, kRun);
    SetText(run.get(), L"QuilletE2eGone", L"C:\\QuilletE2e\\gone-start.exe /quiet");
    SetText(run.get(), L"QuilletE2eHere", L"C:\\QuilletE2e\\here.exe");
  }
  ASSERT_TRUE(WriteTicks({1, 6, 9, 10}));
  ASSERT_TRUE(WriteOption(L"Options", L"OutputDirectory", kBackups));
  ASSERT_TRUE(WriteOption(L"Options", L"ShowHint", L"0"));
  ASSERT_TRUE(WriteOption(L"IgnoreKey", L"Count", L"1"));
  ASSERT_TRUE(WriteOption(L"IgnoreKey", L"Key1", ToWide(kIgnoredKey)));
  ASSERT_TRUE(WriteOption(L"IgnoreValue", L"Count", L"1"));
  ASSERT_TRUE(WriteOption(L"IgnoreValue", L"Value1", ToWide(kIgnoredValue)));

  const std::vector<ProblemEntry> offered = OfferedRows({"1", "6", "9", "10"});
  auto offers = [&](const std::string& key, const std::string& value) {
    for (const ProblemEntry& row : offered) {
      if (row.keyPath == key && row.value == value) return true;
    }
    return false;
  };
  const std::string appPaths = "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\App Paths";
  const std::string sharedDlls = "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\SharedDlls";
  std::string listing;
  for (const ProblemEntry& row : offered) listing += Describe(row) + "\n";
  SCOPED_TRACE("offered:\n" + listing);
  ASSERT_TRUE(offers(appPaths + "\\QuilletE2eGone.exe", "C:\\QuilletE2e\\QuilletE2eGone.exe"));
  ASSERT_TRUE(offers(appPaths + "\\QuilletE2eLocked.exe", "C:\\QuilletE2e\\QuilletE2eLocked.exe"));
  ASSERT_TRUE(offers(sharedDlls, "C:\\QuilletE2e\\gone1.dll"));
  ASSERT_TRUE(offers(sharedDlls, "C:\\QuilletE2e\\gone2.dll"));
  ASSERT_TRUE(offers("HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\\QuilletE2eGone",
                     "C:\\QuilletE2e\\gone-start.exe /quiet"));
  ASSERT_FALSE(offers(appPaths + "\\QuilletE2eIgnored.exe", "C:\\QuilletE2e\\QuilletE2eIgnored.exe"));
  ASSERT_FALSE(offers(sharedDlls, "C:\\QuilletE2e\\ignored.dll"));
  for (const ProblemEntry& row : offered) ASSERT_TRUE(TargetExists(row)) << Describe(row);

  const std::vector<std::wstring> areas = {L"HKEY_LOCAL_MACHINE\\" + std::wstring(kAppPaths),
                                           L"HKEY_LOCAL_MACHINE\\" + std::wstring(kSharedDlls),
                                           L"HKEY_CURRENT_USER\\" + std::wstring(kRun),
                                           L"HKEY_LOCAL_MACHINE\\" + std::wstring(kRun)};
  std::vector<std::string> before;
  for (size_t i = 0; i < areas.size(); ++i) {
    before.push_back(Export(areas[i], ToWide(scratch.At("before" + std::to_string(i) + ".reg"))));
    ASSERT_GT(before.back().size(), 100u) << "no export of " << ToUtf8(areas[i]);
  }

  QuilletProcess quillet(L"-cleanonce");
  ASSERT_TRUE(quillet.Started());
  DWORD exitCode = 1;
  ASSERT_TRUE(quillet.WaitForExit(180000, &exitCode)) << "the unattended run did not end";
  EXPECT_EQ(exitCode, 0u);

  for (const ProblemEntry& row : offered) EXPECT_FALSE(TargetExists(row)) << "still there: " << Describe(row);
  win32::Win32Registry registry;
  auto cursor = registry.NewCursor();
  cursor->SetRoot(RootKey::LocalMachine);
  EXPECT_TRUE(cursor->KeyExists("\\Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\QuilletE2eHere.exe"));
  EXPECT_TRUE(cursor->KeyExists("\\Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\QuilletE2eIgnored.exe"));
  ASSERT_TRUE(cursor->OpenKey("\\Software\\Microsoft\\Windows\\CurrentVersion\\SharedDlls"));
  EXPECT_TRUE(cursor->ValueExists("C:\\QuilletE2e\\ignored.dll"));
  EXPECT_TRUE(cursor->ValueExists("C:\\QuilletE2e\\used.dll"));
  cursor->SetRoot(RootKey::CurrentUser);
  ASSERT_TRUE(cursor->OpenKey("\\Software\\Microsoft\\Windows\\CurrentVersion\\Run"));
  EXPECT_TRUE(cursor->ValueExists("QuilletE2eHere"));

  const std::vector<std::wstring> backups = BackupFiles();
  ASSERT_EQ(backups.size(), 1u) << "one repair, one backup file";
  EXPECT_TRUE(backups[0].starts_with(L"Backup") && backups[0].ends_with(L".reg") &&
              backups[0].size() == std::wstring(L"BackupYYYYMMDDhhmmss.reg").size())
      << ToUtf8(backups[0]);

  ASSERT_TRUE(ImportWithRegedit(std::wstring(kBackups) + L"\\" + backups[0]));
  for (const ProblemEntry& row : offered) EXPECT_TRUE(TargetExists(row)) << "not brought back: " << Describe(row);
  for (size_t i = 0; i < areas.size(); ++i) {
    EXPECT_EQ(Export(areas[i], ToWide(scratch.At("after" + std::to_string(i) + ".reg"))), before[i])
        << "the registry editor's export of " << ToUtf8(areas[i]) << " differs after the restore";
  }

  // A scanner error on the hidden dialog: a Shared DLLs count of 8 bytes for a file that exists.
  // The scan ends there as a stop would, the repair takes what was found before, the run ends.
  {
    SetText(CreateKey(HKEY_LOCAL_MACHINE, std::wstring(kAppPaths) + L"\\QuilletE2eBeforeError.exe").get(), L"",
            L"C:\\QuilletE2e\\QuilletE2eBeforeError.exe");
    const unsigned long long eightBytes = 1;
    SetRaw(CreateKey(HKEY_LOCAL_MACHINE, kSharedDlls).get(), L"C:\\QuilletE2e\\here.exe", REG_DWORD, &eightBytes,
           sizeof(eightBytes));
  }
  std::vector<std::string> beforeError;
  for (size_t i = 0; i < areas.size(); ++i) {
    beforeError.push_back(Export(areas[i], ToWide(scratch.At("error-before" + std::to_string(i) + ".reg"))));
  }
  ::Sleep(1100);  // a backup of its own: the file name counts seconds
  QuilletProcess failing(L"-cleanonce");
  ASSERT_TRUE(failing.Started());
  ASSERT_TRUE(failing.WaitForExit(180000, &exitCode)) << "the unattended run did not end after the scanner error";
  EXPECT_EQ(exitCode, 0u);
  cursor->SetRoot(RootKey::LocalMachine);
  EXPECT_FALSE(cursor->KeyExists("\\Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\QuilletE2eBeforeError.exe"))
      << "the repair ran on the rows found before the error";
  std::vector<std::wstring> nowBackups = BackupFiles();
  ASSERT_EQ(nowBackups.size(), 2u);
  const std::wstring second = nowBackups[0] == backups[0] ? nowBackups[1] : nowBackups[0];
  ASSERT_TRUE(ImportWithRegedit(std::wstring(kBackups) + L"\\" + second));
  for (size_t i = 0; i < areas.size(); ++i) {
    EXPECT_EQ(Export(areas[i], ToWide(scratch.At("error-after" + std::to_string(i) + ".reg"))), beforeError[i])
        << "the registry editor's export of " << ToUtf8(areas[i]) << " differs after the second restore";
  }
}

}  // namespace
}  // namespace quillet::testing
