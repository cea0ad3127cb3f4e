// The backup tools driven in quillet.exe as a user drives them, against Wine's real registry
// editor: a repair's backup listed in the Restore dialog and brought back, and the export of the
// whole registry that the editor imports again.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "GuiDriver.h"
#include "RegeditPeer.h"
#include "RegistrySeed.h"
#include "ScratchFolder.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/WideString.h"
#include "platform/win32/Win32.h"

namespace quillet::testing {
namespace {

using namespace gui;
using win32::ToUtf8;

constexpr const wchar_t* kGoneKey =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\QuilletRestoreGone.exe";
constexpr const wchar_t* kGoneKeyLong =
    L"HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\QuilletRestoreGone.exe";
constexpr const wchar_t* kBackups = L"C:\\QuilletRestoreBackups";

bool KeyExists(HKEY root, const std::wstring& path) {
  win32::UniqueKey key;
  return ::RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, key.put()) == ERROR_SUCCESS;
}

bool FileExists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::vector<std::wstring> RegFileNames(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found{};
  win32::UniqueFind find(::FindFirstFileW((folder + L"\\*.reg").c_str(), &found));
  if (!find) return names;
  do {
    names.emplace_back(found.cFileName);
  } while (::FindNextFileW(find.get(), &found));
  return names;
}

// The visible dialog of the process with this caption that holds a control of this class.
HWND VisibleDialog(DWORD processId, const wchar_t* className, const wchar_t* caption, const wchar_t* childClass,
                   const wchar_t* childCaption = nullptr) {
  for (HWND dialog : TopLevelWindows(processId, className, caption)) {
    if (::IsWindowVisible(dialog) && FindChild(dialog, childClass, childCaption)) return dialog;
  }
  return nullptr;
}

void PressMainButton(HWND mainWindow, const wchar_t* caption) { PressButton(FindChild(mainWindow, L"Button", caption)); }

// The key the repair will find stale, with values of every common kind and a subkey, so the
// round trip through the backup file and the registry editor has something to lose.
void SeedStaleKey() {
  win32::UniqueKey key = CreateKey(HKEY_LOCAL_MACHINE, kGoneKey);
  SetText(key.get(), nullptr, L"C:\\QuilletRestoreGone\\QuilletRestoreGone.exe");
  SetText(key.get(), L"Path", L"C:\\QuilletRestoreGone");
  SetText(key.get(), L"Expand", L"%SystemRoot%\\QuilletRestore", REG_EXPAND_SZ);
  const wchar_t multi[] = L"one\0two words\0";
  SetRaw(key.get(), L"List", REG_MULTI_SZ, multi, sizeof(multi));
  const unsigned char bytes[] = {0x00, 0x01, 0x7f, 0x80, 0xff};
  SetRaw(key.get(), L"Bytes", REG_BINARY, bytes, sizeof(bytes));
  const DWORD number = 0x12345678;
  SetRaw(key.get(), L"Number", REG_DWORD, &number, sizeof(number));
  const unsigned long long wide = 0x0102030405060708ull;
  SetRaw(key.get(), L"Wide", REG_QWORD, &wide, sizeof(wide));
  win32::UniqueKey sub = CreateKey(key.get(), L"Sub");
  SetText(sub.get(), L"Inner", L"a \"quoted\" \\ text");
}

TEST(GuiRestore, BringsARepairsBackupBackByteForByteAndThenDeletesIt) {
  struct Cleanup {
    ~Cleanup() {
      ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, kGoneKey);
      for (const std::wstring& name : RegFileNames(kBackups)) ::DeleteFileW((std::wstring(kBackups) + L"\\" + name).c_str());
      ::RemoveDirectoryW(kBackups);
    }
  } cleanup;
  SeedStaleKey();
  const std::string before = ExportWithRegedit(kGoneKeyLong, L"C:\\QuilletRestoreBefore.reg");
  // UTF-16 text with the key, its subkey and eight values.
  ASSERT_GT(before.size(), 1000u) << "the export of the seeded key is missing";
  ::CreateDirectoryW(kBackups, nullptr);
  for (const char* older : {"Backup20140101120000.reg", "Backup20140102080000.reg"}) {
    PutFile(ToUtf8(kBackups) + "\\" + older, "REGEDIT4\r\n\r\n");
  }
  ASSERT_TRUE(WriteTicks({1, 6}));
  ASSERT_TRUE(WriteOption(L"Options", L"OutputDirectory", kBackups));
  ASSERT_TRUE(WriteOption(L"Options", L"DeleteBackupFile", L"1"));

  QuilletProcess quillet;
  HWND main = quillet.WaitForMainWindow();
  ASSERT_NE(main, nullptr);
  RemoteList problems(FindChild(main, WC_LISTVIEWW), quillet.Handle());
  PressMainButton(main, L"Scan registry issues");
  const auto listed = [&] {
    for (const std::wstring& row : problems.Rows()) {
      if (row.find(L"QuilletRestoreGone.exe") != std::wstring::npos) return true;
    }
    return false;
  };
  ASSERT_TRUE(WaitUntil([&] { return listed() && ::IsWindowEnabled(main); }, 60000))
      << "the scan missed the key; status: " << ToUtf8(StatusText(FindChild(main, STATUSCLASSNAMEW), quillet.Handle(), 0));

  PressMainButton(main, L"Repair registry issues");
  HWND notice = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (notice = VisibleDialog(quillet.Id(), kDialogClass, L"Orvane Quillet", L"Button", L"&Close")); },
                        60000))
      << "no repair notice";
  PressButton(FindChild(notice, L"Button", L"&Close"));
  ASSERT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(main) != 0; }, 10000));
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kGoneKey)) << "the repair did not delete the key";
  std::vector<std::wstring> names = RegFileNames(kBackups);
  ASSERT_EQ(names.size(), 3u);
  std::sort(names.begin(), names.end());
  const std::wstring repairBackup = names.back();

  PressMainButton(main, L"Restore previous registry ");
  HWND dialog = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (dialog = VisibleDialog(quillet.Id(), kDialogClass, L"Orvane Quillet", WC_LISTVIEWW)); },
                        10000))
      << "no Restore dialog";
  RemoteList backups(FindChild(dialog, WC_LISTVIEWW), quillet.Handle());
  ASSERT_EQ(backups.Count(), 3);
  EXPECT_EQ(backups.Text(0, 0), repairBackup) << "the newest backup comes first";
  EXPECT_EQ(backups.Text(1, 0), L"Backup20140102080000.reg");
  EXPECT_EQ(backups.Text(2, 0), L"Backup20140101120000.reg");
  SYSTEMTIME now{};
  ::GetLocalTime(&now);
  EXPECT_NE(backups.Text(0, 1).find(std::to_wstring(now.wYear)), std::wstring::npos) << ToUtf8(backups.Text(0, 1));
  EXPECT_EQ(backups.Text(1, 2), L"1 KB");
  EXPECT_EQ(WindowText(FindChild(dialog, L"Edit")), kBackups);
  HWND restore = FindChild(dialog, L"Button", L"&Restore");
  ASSERT_NE(restore, nullptr);
  EXPECT_FALSE(::IsWindowEnabled(restore)) << "Restore is off until a row is selected";

  Click(FindChild(dialog, WC_LISTVIEWW), backups.CaptionPoint(0));
  ASSERT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(restore) != 0; }, 5000)) << "selecting a row left Restore off";
  ::Sleep(200);
  EXPECT_TRUE(SaveScreenshot(dialog, L"restore-dialog-three-backups"));

  PressButton(restore);
  ASSERT_TRUE(WaitUntil([&] { return backups.Count() == 2; }, 120000)) << "the restored backup kept its row";
  EXPECT_FALSE(FileExists(std::wstring(kBackups) + L"\\" + repairBackup)) << "DeleteBackupFile is on";
  EXPECT_EQ(backups.Text(0, 0), L"Backup20140102080000.reg");
  const std::string after = ExportWithRegedit(kGoneKeyLong, L"C:\\QuilletRestoreAfter.reg");
  EXPECT_EQ(after, before);
  ::DeleteFileW(L"C:\\QuilletRestoreBefore.reg");
  ::DeleteFileW(L"C:\\QuilletRestoreAfter.reg");

  PressButton(FindChild(dialog, L"Button", L"&Close"));
  EXPECT_TRUE(WaitUntil([&] { return !::IsWindowVisible(dialog); }, 5000));
}

// The file name box of the system's save dialog.
HWND FileNameBox(HWND saveDialog) {
  HWND box = ::GetDlgItem(saveDialog, 0x47c);  // the name combo box of the explorer-style dialog
  if (box) {
    HWND edit = FindChild(box, L"Edit");
    return edit ? edit : box;
  }
  return ::GetDlgItem(saveDialog, 0x480);
}

TEST(GuiFullBackup, WritesAFileTheRegistryEditorImportsAgain) {
  const std::wstring folder = L"C:\\QuilletFullBackup";
  const std::wstring file = folder + L"\\full.reg";
  const std::wstring marker = L"Software\\QuilletFullBackupMarker";
  struct Cleanup {
    std::wstring folder, file, marker;
    ~Cleanup() {
      ::RegDeleteTreeW(HKEY_CURRENT_USER, marker.c_str());
      ::DeleteFileW(file.c_str());
      ::RemoveDirectoryW(folder.c_str());
    }
  } cleanup{folder, file, marker};
  ::CreateDirectoryW(folder.c_str(), nullptr);
  SetText(CreateKey(HKEY_CURRENT_USER, marker).get(), L"Mark", L"present");

  QuilletProcess quillet;
  HWND main = quillet.WaitForMainWindow();
  ASSERT_NE(main, nullptr);
  TypeChord(main, {VK_MENU, 'F'});
  ::Sleep(300);
  TypeChord(main, {'B'});
  HWND save = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (save = VisibleDialog(quillet.Id(), L"#32770", L"Save full registry", L"Button")); },
                        10000))
      << "no save dialog";
  HWND name = FileNameBox(save);
  ASSERT_NE(name, nullptr);
  // Without an extension: the program adds ".reg".
  ::SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>((folder + L"\\full").c_str()));
  PressButton(::GetDlgItem(save, IDOK));

  HWND wait = nullptr;
  ASSERT_TRUE(WaitUntil(
      [&] { return (wait = VisibleDialog(quillet.Id(), kDialogClass, L"Orvane Quillet", L"Static", L"Backup registry...")); },
      20000, 10))
      << "no wait dialog";
  EXPECT_NE(FindChild(wait, L"msctls_progress32"), nullptr);
  EXPECT_NE(FindChild(wait, L"Button", L"Stop"), nullptr);
  EXPECT_TRUE(SaveScreenshot(wait, L"backup-wait-dialog-full-export"));
  ASSERT_TRUE(WaitUntil([&] { return !::IsWindowVisible(wait) && ::IsWindowEnabled(main); }, 300000))
      << "the export did not end";
  ASSERT_TRUE(FileExists(file));

  ASSERT_EQ(::RegDeleteTreeW(HKEY_CURRENT_USER, marker.c_str()), ERROR_SUCCESS);
  ASSERT_TRUE(ImportWithRegedit(file));
  win32::UniqueKey key;
  ASSERT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, marker.c_str(), 0, KEY_READ, key.put()), ERROR_SUCCESS)
      << "the import did not bring the marker back";
  wchar_t text[32] = {};
  DWORD size = sizeof(text);
  EXPECT_EQ(::RegQueryValueExW(key.get(), L"Mark", nullptr, nullptr, reinterpret_cast<BYTE*>(text), &size), ERROR_SUCCESS);
  EXPECT_STREQ(text, L"present");
}

}  // namespace
}  // namespace quillet::testing
