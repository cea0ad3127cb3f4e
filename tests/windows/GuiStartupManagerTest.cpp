// GUI test: the startup manager of the running quillet.exe lists real Run-type values of both
// roots and real shortcuts of both Startup folders, and removes the ticked ones after writing
// their backups, which Wine's registry editor brings back exactly.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>
#include <shobjidl.h>

#include "GuiDriver.h"
#include "RegeditPeer.h"
#include "ScratchFolder.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/WideString.h"
#include "platform/win32/Win32.h"

namespace quillet::testing {
namespace {

using namespace gui;

constexpr const wchar_t* kRun = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const wchar_t* kRunOnce = L"Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
constexpr const wchar_t* kPolicyRun = L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer\\Run";
constexpr const wchar_t* kBackups = L"C:\\QuilletStartupBackups";

struct RawValue {
  DWORD type = 0;
  std::vector<BYTE> data;
  bool operator==(const RawValue&) const = default;
};

struct SeededValue {
  HKEY root;
  const wchar_t* key;
  const wchar_t* name;
  DWORD type;
  std::wstring text;
  std::wstring location;  // as the Location column shows it
};

std::wstring Location(HKEY root, const wchar_t* key) {
  return std::wstring(root == HKEY_CURRENT_USER ? L"HKEY_CURRENT_USER\\" : L"HKEY_LOCAL_MACHINE\\") + key;
}

std::optional<RawValue> ReadRaw(HKEY root, const wchar_t* key, const wchar_t* name) {
  win32::UniqueKey opened;
  if (::RegOpenKeyExW(root, key, 0, KEY_READ, opened.put()) != ERROR_SUCCESS) return std::nullopt;
  RawValue value;
  DWORD size = 0;
  if (::RegQueryValueExW(opened.get(), name, nullptr, &value.type, nullptr, &size) != ERROR_SUCCESS) return std::nullopt;
  value.data.resize(size);
  ::RegQueryValueExW(opened.get(), name, nullptr, nullptr, value.data.data(), &size);
  return value;
}

void Write(const SeededValue& value) {
  win32::UniqueKey key;
  ASSERT_EQ(::RegCreateKeyExW(value.root, value.key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(), nullptr),
            ERROR_SUCCESS);
  ::RegSetValueExW(key.get(), value.name, 0, value.type, reinterpret_cast<const BYTE*>(value.text.c_str()),
                   static_cast<DWORD>((value.text.size() + 1) * sizeof(wchar_t)));
}

void Remove(HKEY root, const wchar_t* key, const wchar_t* name) {
  win32::UniqueKey opened;
  if (::RegOpenKeyExW(root, key, 0, KEY_ALL_ACCESS, opened.put()) == ERROR_SUCCESS) ::RegDeleteValueW(opened.get(), name);
}

std::wstring StartupFolder(int csidl) {
  wchar_t path[MAX_PATH] = {};
  EXPECT_EQ(::SHGetFolderPathW(nullptr, csidl | CSIDL_FLAG_CREATE, nullptr, 0, path), S_OK) << csidl;
  return std::wstring(path) + L"\\";
}

// Saves a shortcut through the shell link object, as an installer would.
void MakeShortcut(const std::wstring& path, const std::wstring& target) {
  IShellLinkW* link = nullptr;
  ASSERT_EQ(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                               reinterpret_cast<void**>(&link)),
            S_OK);
  EXPECT_TRUE(SUCCEEDED(link->SetPath(target.c_str())));
  IPersistFile* file = nullptr;
  ASSERT_EQ(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)), S_OK);
  EXPECT_EQ(file->Save(path.c_str(), TRUE), S_OK) << win32::ToUtf8(path);
  file->Release();
  link->Release();
}

std::string FileBytes(const std::wstring& path) {
  return GetFileOrEmpty(win32::ToUtf8(path));
}

bool Exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::vector<std::wstring> BackupFiles() {
  std::vector<std::wstring> files;
  WIN32_FIND_DATAW found{};
  win32::UniqueFind find(::FindFirstFileW((std::wstring(kBackups) + L"\\Backup*.reg").c_str(), &found));
  if (!find) return files;
  do {
    files.push_back(std::wstring(kBackups) + L"\\" + found.cFileName);
  } while (::FindNextFileW(find.get(), &found));
  return files;
}

class GuiStartupManager : public ::testing::Test {
 protected:
  void SetUp() override {
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    userFolder = StartupFolder(CSIDL_STARTUP);
    commonFolder = StartupFolder(CSIDL_COMMON_STARTUP);
    values = {
        {HKEY_CURRENT_USER, kRun, L"QuilletStart User", REG_SZ, programs + L"\\user.exe /min", Location(HKEY_CURRENT_USER, kRun)},
        {HKEY_CURRENT_USER, kRun, L"QuilletStart Expand", REG_EXPAND_SZ, L"%ProgramFiles%\\QuilletStart\\tool.exe",
         Location(HKEY_CURRENT_USER, kRun)},
        {HKEY_LOCAL_MACHINE, kRun, L"QuilletStart Machine", REG_SZ, L"\"" + programs + L"\\machine.exe\" -q",
         Location(HKEY_LOCAL_MACHINE, kRun)},
        {HKEY_CURRENT_USER, kPolicyRun, L"QuilletStart Policy", REG_SZ, programs + L"\\policy.exe",
         Location(HKEY_CURRENT_USER, kPolicyRun)},
        {HKEY_LOCAL_MACHINE, kPolicyRun, L"QuilletStart MachinePolicy", REG_SZ, programs + L"\\machinepolicy.exe",
         Location(HKEY_LOCAL_MACHINE, kPolicyRun)},
        {HKEY_CURRENT_USER, kRunOnce, L"QuilletStart Once", REG_EXPAND_SZ, L"%SystemRoot%\\QuilletStart\\once.exe",
         Location(HKEY_CURRENT_USER, kRunOnce)},
        {HKEY_LOCAL_MACHINE, kRunOnce, L"QuilletStart MachineOnce", REG_SZ, programs + L"\\machineonce.exe",
         Location(HKEY_LOCAL_MACHINE, kRunOnce)},
    };
    for (const SeededValue& value : values) Write(value);

    MakeShortcut(userFolder + L"QuilletStart User.lnk", programs + L"\\user.exe");
    MakeShortcut(commonFolder + L"QuilletStart Common.lnk", programs + L"\\common.exe");
    RemoveTree(kBackups);
    ASSERT_TRUE(WriteOption(L"Options", L"OutputDirectory", kBackups));
  }
  void TearDown() override {
    for (const SeededValue& value : values) Remove(value.root, value.key, value.name);
    ::DeleteFileW((userFolder + L"QuilletStart User.lnk").c_str());
    ::DeleteFileW((commonFolder + L"QuilletStart Common.lnk").c_str());
    RemoveTree(kBackups);
    ::DeleteFileW(OptionsFilePath().c_str());
  }

  // "caption|file|location" of the rows this test seeded, in list order.
  static std::vector<std::wstring> OurRows(const RemoteList& list) {
    std::vector<std::wstring> rows;
    for (const std::wstring& row : list.Rows()) {
      if (row.starts_with(L"QuilletStart")) rows.push_back(row);
    }
    return rows;
  }
  static int RowOf(const RemoteList& list, const std::wstring& caption, const std::wstring& location) {
    for (int row = 0; row < list.Count(); ++row) {
      if (list.Text(row, 0) == caption && list.Text(row, 2) == location) return row;
    }
    return -1;
  }

  // Where the seeded entries point; nothing needs to be there for the list.
  const std::wstring programs = L"C:\\QuilletStart";
  std::wstring userFolder;
  std::wstring commonFolder;
  std::vector<SeededValue> values;
};

TEST_F(GuiStartupManager, ListsEverySourceAndRemovesTheTickedEntriesAfterTheirBackup) {
  const std::string userShortcut = FileBytes(userFolder + L"QuilletStart User.lnk");
  const std::string commonShortcut = FileBytes(commonFolder + L"QuilletStart Common.lnk");
  ASSERT_FALSE(userShortcut.empty());

  QuilletProcess quillet;
  HWND main = quillet.WaitForMainWindow();
  ASSERT_NE(main, nullptr);
  TypeChord(main, {VK_CONTROL, 'M'});
  HWND dialog = nullptr;
  ASSERT_TRUE(WaitUntil(
      [&] {
        std::vector<HWND> found = TopLevelWindows(quillet.Id(), kDialogClass, L"Startup Manager");
        dialog = found.empty() ? nullptr : found.front();
        return dialog && ::IsWindowVisible(dialog);
      },
      15000))
      << "Ctrl+M opened no Startup Manager";
  HWND listWindow = FindChild(dialog, WC_LISTVIEWW);
  ASSERT_NE(listWindow, nullptr);
  RemoteList list(listWindow, quillet.Handle());

  std::vector<std::wstring> expected;
  for (const SeededValue& value : values) expected.push_back(std::wstring(value.name) + L"|" + value.text + L"|" + value.location);
  expected.push_back(L"QuilletStart User.lnk|" + programs + L"\\user.exe|Startup");
  expected.push_back(L"QuilletStart Common.lnk|" + programs + L"\\common.exe|Common Startup");
  // Wine lists a key's values sorted by name, so the rows are compared as a set; the host
  // tests hold the order of the sources.
  std::vector<std::wstring> rows = OurRows(list);
  std::sort(rows.begin(), rows.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(rows, expected);
  ::Sleep(300);
  EXPECT_TRUE(SaveScreenshot(dialog, L"startup-manager"));
  // The Location column lies right of the view: a second picture shows it.
  ::SendMessageW(listWindow, LVM_SCROLL, 1000, 0);
  ::Sleep(300);
  EXPECT_TRUE(SaveScreenshot(dialog, L"startup-manager-locations"));
  ::SendMessageW(listWindow, LVM_SCROLL, static_cast<WPARAM>(-1000), 0);

  // Two registry values (one per root, one of them an expandable string) and one shortcut of
  // each Startup folder.
  const std::vector<const SeededValue*> doomed = {&values[2], &values[5]};
  std::vector<RawValue> before;
  for (const SeededValue* value : doomed) before.push_back(ReadRaw(value->root, value->key, value->name).value());
  const std::vector<std::pair<std::wstring, std::wstring>> ticks = {
      {doomed[0]->name, doomed[0]->location},
      {doomed[1]->name, doomed[1]->location},
      {L"QuilletStart User.lnk", L"Startup"},
      {L"QuilletStart Common.lnk", L"Common Startup"},
  };
  for (const auto& [caption, location] : ticks) {
    const int row = RowOf(list, caption, location);
    ASSERT_GE(row, 0) << win32::ToUtf8(caption);
    ::SendMessageW(listWindow, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
    const POINT point = list.StateIconPoint(row);
    ASSERT_GE(point.x, 0) << "no tick box on " << win32::ToUtf8(caption);
    Click(listWindow, point);
    ASSERT_TRUE(WaitUntil([&] { return list.Ticked(row); }, 5000)) << win32::ToUtf8(caption);
  }
  const int countBefore = list.Count();
  PressButton(FindChild(dialog, L"Button", L"&Delete Entry"));
  ASSERT_TRUE(WaitUntil([&] { return list.Count() == countBefore - 4; }, 10000)) << list.Count();
  EXPECT_EQ(OurRows(list).size(), expected.size() - 4);

  for (const SeededValue& value : values) {
    const bool deleted = std::find(doomed.begin(), doomed.end(), &value) != doomed.end();
    EXPECT_EQ(ReadRaw(value.root, value.key, value.name).has_value(), !deleted) << win32::ToUtf8(value.name);
  }
  EXPECT_FALSE(Exists(userFolder + L"QuilletStart User.lnk"));
  EXPECT_FALSE(Exists(commonFolder + L"QuilletStart Common.lnk"));
  EXPECT_EQ(FileBytes(std::wstring(kBackups) + L"\\Startup\\QuilletStart User.lnk"), userShortcut);
  EXPECT_EQ(FileBytes(std::wstring(kBackups) + L"\\Startup\\QuilletStart Common.lnk"), commonShortcut);

  PressButton(FindChild(dialog, L"Button", L"&Close"));
  EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(dialog) || !::IsWindowVisible(dialog); }, 5000));
  ::PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_TRUE(quillet.WaitForExit(10000));

  // The dated backup file, as the Restore dialog lists it, brings both values back exactly.
  const std::vector<std::wstring> files = BackupFiles();
  ASSERT_EQ(files.size(), 1u);
  EXPECT_EQ(files[0].size(), std::wstring(kBackups).size() + std::wstring(L"\\Backup20260307090503.reg").size());
  ASSERT_TRUE(ImportWithRegedit(files[0]));
  for (size_t i = 0; i < doomed.size(); ++i) {
    EXPECT_EQ(ReadRaw(doomed[i]->root, doomed[i]->key, doomed[i]->name), before[i]) << win32::ToUtf8(doomed[i]->name);
  }
}

}  // namespace
}  // namespace quillet::testing
