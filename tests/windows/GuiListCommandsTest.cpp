// GUI tests of the problem list's commands: quillet.exe runs in the test prefix, scans seeded
// entries, and is driven through its Edit menu, the list's pop-up menu, the system's save dialog
// and Wine's registry editor, all from outside.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "GuiDriver.h"
#include "ScratchFolder.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/WideString.h"
#include "platform/win32/Win32.h"

namespace quillet::testing {
namespace {

using namespace gui;

constexpr const wchar_t* kHelpKey = L"Software\\Microsoft\\Windows\\Help";
constexpr const wchar_t* kHelpValue = L"QuilletGuiGone.hlp";
constexpr const wchar_t* kUninstallKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
constexpr const wchar_t* kOrphan = L"QuilletGuiOrphan";
constexpr const wchar_t* kMenuClass = L"#32768";

// Wine's registry editor windows are closed again, whoever opened them.
void CloseRegistryEditors() {
  for (int i = 0; i < 50; ++i) {
    HWND editor = ::FindWindowW(L"RegEdit_RegEdit", nullptr);
    if (!editor) return;
    ::PostMessageW(editor, WM_CLOSE, 0, 0);
    WaitUntil([&] { return !::IsWindow(editor); }, 5000);
  }
}

class GuiListCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    CloseRegistryEditors();
    win32::UniqueKey help;
    ::RegCreateKeyExW(HKEY_LOCAL_MACHINE, kHelpKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, help.put(), nullptr);
    const std::wstring folder = L"C:\\QuilletGuiNowhere";
    ::RegSetValueExW(help.get(), kHelpValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                     static_cast<DWORD>((folder.size() + 1) * sizeof(wchar_t)));
    win32::UniqueKey orphan;
    ::RegCreateKeyExW(HKEY_LOCAL_MACHINE, (std::wstring(kUninstallKey) + L"\\" + kOrphan).c_str(), 0, nullptr, 0,
                      KEY_ALL_ACCESS, nullptr, orphan.put(), nullptr);
    const std::wstring name = L"Orphaned entry";
    ::RegSetValueExW(orphan.get(), L"DisplayName", 0, REG_SZ, reinterpret_cast<const BYTE*>(name.c_str()),
                     static_cast<DWORD>((name.size() + 1) * sizeof(wchar_t)));
    ASSERT_TRUE(WriteTicks({1, 8, 11}));  // help files, uninstall entries
  }

  void TearDown() override {
    CloseRegistryEditors();
    win32::UniqueKey help;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kHelpKey, 0, KEY_ALL_ACCESS, help.put()) == ERROR_SUCCESS) {
      ::RegDeleteValueW(help.get(), kHelpValue);
    }
    ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, (std::wstring(kUninstallKey) + L"\\" + kOrphan).c_str());
  }

  // Starts the program and scans the ticked categories; false when the scan found nothing.
  ::testing::AssertionResult StartAndScan() {
    window = quillet.WaitForMainWindow();
    if (!window) return ::testing::AssertionFailure() << "no main window";
    list = FindChild(window, WC_LISTVIEWW);
    status = FindChild(window, STATUSCLASSNAMEW);
    return Scan();
  }
  ::testing::AssertionResult Scan() {
    ::PostMessageW(FindChild(window, L"Button", L"Scan registry issues"), BM_CLICK, 0, 0);
    // The main window waits under the progress dialog while the scan runs.
    WaitUntil([&] { return !::IsWindowEnabled(window); }, 5000, 5);
    const bool done = WaitUntil(
        [&] {
          return !StatusText(status, quillet.Handle(), 0).empty() &&
                 TopLevelWindows(quillet.Id(), kDialogClass, L"Scanning").empty() && ::IsWindowEnabled(window);
        },
        60000);
    if (!done) return ::testing::AssertionFailure() << "the scan did not end";
    return ::testing::AssertionSuccess();
  }
  std::vector<std::wstring> Rows() const { return RemoteList(list, quillet.Handle()).Rows(); }
  // The index of the row whose key (and value) column starts so; -1 when none.
  int RowOf(const std::wstring& keyAndValue) const {
    const std::vector<std::wstring> rows = Rows();
    for (size_t i = 0; i < rows.size(); ++i) {
      const size_t bar = rows[i].find(L'|');
      if (rows[i].compare(bar + 1, keyAndValue.size(), keyAndValue) == 0) return static_cast<int>(i);
    }
    return -1;
  }
  // A click on the row's text, away from its tick box: the row becomes the only selected one.
  ::testing::AssertionResult SelectRow(int row) const {
    POINT point = RemoteList(list, quillet.Handle()).StateIconPoint(row);
    if (point.x < 0) return ::testing::AssertionFailure() << "row " << row << " is not on screen";
    point.x += 60;
    Click(list, point);
    if (!WaitUntil([&] { return ::SendMessageW(list, LVM_GETNEXTITEM, -1, LVNI_SELECTED) == row; }, 5000)) {
      return ::testing::AssertionFailure() << "row " << row << " did not become selected";
    }
    return ::testing::AssertionSuccess();
  }
  // The list's pop-up menu, as the context-menu key opens it; nullptr when none came.
  HWND OpenPopupMenu() const {
    RECT rect{};
    ::GetWindowRect(list, &rect);
    ::PostMessageW(window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list), MAKELPARAM(rect.left + 120, rect.top + 60));
    HWND menu = nullptr;
    WaitUntil(
        [&] {
          menu = ::FindWindowW(kMenuClass, nullptr);
          return menu && ::IsWindowVisible(menu);
        },
        5000);
    return menu;
  }
  // Keys pressed and released one after another in the program's foreground window.
  void Press(std::initializer_list<WORD> keys) const {
    for (WORD key : keys) {
      TypeChord(window, {key});
      ::Sleep(100);
    }
  }

  QuilletProcess quillet;
  HWND window = nullptr;
  HWND list = nullptr;
  HWND status = nullptr;
};

TEST_F(GuiListCommands, SaveToTextFileWritesTheReportThroughTheSystemsSaveDialog) {
  const std::wstring folder = L"C:\\QuilletGuiReport";
  ::CreateDirectoryW(folder.c_str(), nullptr);
  const std::wstring written = folder + L"\\report.txt";
  struct Cleanup {
    std::wstring folder, file;
    ~Cleanup() {
      ::DeleteFileW(file.c_str());
      ::RemoveDirectoryW(folder.c_str());
    }
  } cleanup{folder, written};
  ASSERT_TRUE(StartAndScan());
  const std::vector<std::wstring> rows = Rows();
  ASSERT_FALSE(rows.empty());

  // Edit, then down from its first entry past Select All of Type, Select None, Select None of
  // Type and Add to Ignore Lists to Save to Text File.
  TypeChord(window, {VK_MENU, 'E'});
  ::Sleep(300);
  Press({VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN});
  HWND dialog = nullptr;
  ASSERT_TRUE(WaitUntil(
      [&] {
        std::vector<HWND> found = TopLevelWindows(quillet.Id(), L"#32770", L"Save as Text File");
        dialog = found.empty() ? nullptr : found.front();
        return dialog && ::IsWindowVisible(dialog);
      },
      10000))
      << "no save dialog titled \"Save as Text File\"";
  HWND name = FindChild(dialog, L"Edit");
  ASSERT_NE(name, nullptr);
  const std::wstring typed = folder + L"\\report";
  ::SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(typed.c_str()));
  ::PostMessageW(dialog, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(WaitUntil([&] { return ReadBytes(written) != "<no file>" && !::IsWindow(dialog); }, 10000))
      << "no report at " << win32::ToUtf8(written);

  std::string expected =
      "This file was generated by Orvane Quillet\r\n"
      "Visit Orvane Software at https://www.orvane-software.example/quillet/ for the latest version.\r\n\r\n";
  for (std::wstring row : rows) {
    std::replace(row.begin(), row.end(), L'|', L'\n');
    std::string line = win32::ToUtf8(row);
    for (size_t at = line.find('\n'); at != std::string::npos; at = line.find('\n', at)) {
      line.replace(at, 1, "  #####  ");
    }
    expected += line + "\r\n";
  }
  EXPECT_EQ(ReadBytes(written), expected);
}

TEST_F(GuiListCommands, ARowSentToTheIgnoreListsStaysAwayFromTheNextScanAndIsInTheOptionsFile) {
  ASSERT_TRUE(StartAndScan());
  const std::wstring orphan = std::wstring(L"HKEY_LOCAL_MACHINE\\") + kUninstallKey + L"|" + kOrphan;
  const int row = RowOf(orphan);
  ASSERT_GE(row, 0) << "the orphaned uninstall entry was not found";
  ASSERT_TRUE(SelectRow(row));
  // The space bar unticks the selected row, and the count follows at once.
  const std::wstring fewer = L" " + std::to_wstring(Rows().size() - 1) + L" problems selected for repairing";
  Press({VK_SPACE});
  EXPECT_TRUE(WaitUntil([&] { return StatusText(status, quillet.Handle(), 1) == fewer; }, 5000))
      << win32::ToUtf8(StatusText(status, quillet.Handle(), 1));
  HWND menu = OpenPopupMenu();
  ASSERT_NE(menu, nullptr) << "no pop-up menu";
  ::Sleep(200);
  EXPECT_TRUE(SaveScreenshot(::GetDesktopWindow(), L"problem-list-popup-menu"));
  Press({'I'});
  ASSERT_TRUE(WaitUntil([&] { return RowOf(orphan) < 0; }, 5000)) << "the row stayed in the list";

  ASSERT_TRUE(Scan());
  EXPECT_LT(RowOf(orphan), 0) << "the next scan showed the ignored row again";
  EXPECT_GE(RowOf(std::wstring(L"HKEY_LOCAL_MACHINE\\") + kHelpKey), 0) << "the scan lost the other rows";

  ::PostMessageW(window, WM_CLOSE, 0, 0);
  ASSERT_TRUE(quillet.WaitForExit(10000));
  wchar_t count[16] = {}, key[512] = {};
  ::GetPrivateProfileStringW(L"IgnoreKey", L"Count", L"", count, 16, OptionsFilePath().c_str());
  ::GetPrivateProfileStringW(L"IgnoreKey", L"Key1", L"", key, 512, OptionsFilePath().c_str());
  EXPECT_STREQ(count, L"1");
  EXPECT_EQ(std::wstring(key), std::wstring(L"HKEY_LOCAL_MACHINE\\") + kUninstallKey + L"\\" + kOrphan);
}

// The key Wine's registry editor shows as selected, read from its status bar.
std::wstring RegistryEditorKey() {
  HWND editor = ::FindWindowW(L"RegEdit_RegEdit", nullptr);
  if (!editor) return L"<no registry editor>";
  DWORD processId = 0;
  ::GetWindowThreadProcessId(editor, &processId);
  win32::UniqueKernelHandle process(::OpenProcess(
      PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_QUERY_INFORMATION, FALSE, processId));
  HWND status = FindChild(editor, STATUSCLASSNAMEW);
  if (!process || !status) return L"<no status bar>";
  return StatusText(status, process.get(), 0);
}

TEST_F(GuiListCommands, OpenInRegEditLeavesTheEditorAtTheKeyOfAValueRowAndOfASubkeyRow) {
  ASSERT_TRUE(StartAndScan());
  struct Case {
    std::wstring row;  // key and value columns
    std::wstring key;  // what the editor shows
    const wchar_t* screenshot;
  };
  const std::wstring machine = L"HKEY_LOCAL_MACHINE\\";
  const Case cases[] = {
      {machine + kHelpKey + L"\\" + kHelpValue + L"|", machine + kHelpKey, nullptr},
      {machine + kUninstallKey + L"|" + kOrphan, machine + kUninstallKey + L"\\" + kOrphan, L"registry-editor-at-key"},
  };
  for (const Case& one : cases) {
    SCOPED_TRACE(win32::ToUtf8(one.row));
    const int row = RowOf(one.row);
    ASSERT_GE(row, 0) << "no such row";
    ASSERT_TRUE(SelectRow(row));
    ASSERT_NE(OpenPopupMenu(), nullptr) << "no pop-up menu";
    Press({'R'});
    EXPECT_TRUE(WaitUntil([&] { return RegistryEditorKey().ends_with(one.key); }, 20000))
        << "the editor shows " << win32::ToUtf8(RegistryEditorKey());
    if (one.screenshot) {
      ::Sleep(300);
      // Maximized, the editor reaches past the screen edges: the screen is what the user sees.
      EXPECT_TRUE(SaveScreenshot(::GetDesktopWindow(), one.screenshot));
    }
  }
}

}  // namespace
}  // namespace quillet::testing
