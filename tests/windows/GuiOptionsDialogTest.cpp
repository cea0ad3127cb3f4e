// The options dialog under Wine, opened with Ctrl+O from the running program: what it shows, a
// switch and an ignore-list entry that reach options.ini, and a backup folder that does not exist.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "GuiDriver.h"
#include "TestPaths.h"
#include "platform/win32/WideString.h"

namespace quillet::testing {
namespace {

using namespace gui;

BOOL CALLBACK CollectChild(HWND window, LPARAM param) {
  reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
  return TRUE;
}

// Child windows of one class, in the order the dialog made them.
std::vector<HWND> Children(HWND parent, const wchar_t* className) {
  std::vector<HWND> all;
  ::EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&all));
  std::vector<HWND> matching;
  for (HWND window : all) {
    wchar_t name[64] = {};
    ::GetClassNameW(window, name, 64);
    if (lstrcmpiW(name, className) == 0) matching.push_back(window);
  }
  return matching;
}

void DoubleClick(HWND window, POINT client) {
  const LPARAM where = MAKELPARAM(client.x, client.y);
  ::PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, where);
  ::PostMessageW(window, WM_LBUTTONUP, 0, where);
  ::PostMessageW(window, WM_LBUTTONDBLCLK, MK_LBUTTON, where);
  ::PostMessageW(window, WM_LBUTTONUP, 0, where);
}

int Width(HWND window) {
  RECT rect{};
  ::GetWindowRect(window, &rect);
  return rect.right - rect.left;
}

bool Gone(HWND window) { return !::IsWindow(window) || !::IsWindowVisible(window); }

HWND FocusOf(HWND window) {
  GUITHREADINFO info{sizeof(info)};
  return ::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &info) ? info.hwndFocus : nullptr;
}

class GuiOptionsDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    main = quillet.WaitForMainWindow();
    ASSERT_NE(main, nullptr);
    TypeChord(main, {VK_CONTROL, 'O'});
    options = WaitForDialog(quillet, kDialogClass, L"Options");
    ASSERT_NE(options, nullptr) << "Ctrl+O opened no options dialog";
  }
  ::testing::AssertionResult CloseProgram() {
    ::PostMessageW(main, WM_CLOSE, 0, 0);
    DWORD exitCode = 1;
    if (!quillet.WaitForExit(10000, &exitCode) || exitCode != 0) {
      return ::testing::AssertionFailure() << "quillet.exe did not end well";
    }
    return ::testing::AssertionSuccess();
  }

  QuilletProcess quillet;
  HWND main = nullptr;
  HWND options = nullptr;
};

TEST_F(GuiOptionsDialog, ATickedSwitchAndAnEntryAddedThroughTheAddDialogReachTheOptionsFile) {
  // OK takes only a folder that exists, and a first start's default one is made by the first repair.
  const std::wstring backup = BuildFolder() + L"Backup";
  const bool made = ::CreateDirectoryW(backup.c_str(), nullptr) != 0;
  RECT client{};
  ::GetClientRect(options, &client);
  HDC screen = ::GetDC(nullptr);
  const int dpi = ::GetDeviceCaps(screen, LOGPIXELSX);
  ::ReleaseDC(nullptr, screen);
  EXPECT_EQ(client.right, ::MulDiv(455, dpi, 96));
  EXPECT_EQ(client.bottom, ::MulDiv(364, dpi, 96));
  EXPECT_EQ(WindowText(FindChild(options, L"Edit")), BuildFolder() + L"Backup");
  EXPECT_NE(FindChild(options, L"Button", L"Select a destination folder to backup deleted entries by repairing"),
            nullptr);
  struct Switch {
    const wchar_t* caption;
    bool ticked;
  };
  const Switch switches[] = {
      {L"Create a system restore point before repair (XP, Vista, 7, 8)", false},
      {L"Delete backup file after restoring the registry on restore dialog", true},
      {L"Include all references to removable media", false},
      {L"Include all references to CD drive", false},
      {L"Show hint dialog after repairing registry issue", true},
      {L"Beep after the scan and repair action", false},
  };
  for (const Switch& wanted : switches) {
    HWND box = FindChild(options, L"Button", wanted.caption);
    ASSERT_NE(box, nullptr) << win32::ToUtf8(wanted.caption);
    EXPECT_TRUE(::IsWindowVisible(box));
    EXPECT_EQ(::SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED, wanted.ticked) << win32::ToUtf8(wanted.caption);
  }
  const std::vector<HWND> tabs = Children(options, WC_TABCONTROLW);
  ASSERT_EQ(tabs.size(), 2u) << "the dialog's pages and the pages of the ignore lists";
  HWND pages = Width(tabs[0]) > Width(tabs[1]) ? tabs[0] : tabs[1];
  EXPECT_EQ(TabCtrl_GetItemCount(pages), 2);
  EXPECT_EQ(TabCtrl_GetCurSel(pages), 0);
  HWND add = FindChild(options, L"Button", L"&Add");
  ASSERT_NE(add, nullptr);
  EXPECT_FALSE(::IsWindowVisible(add)) << "the Ignore Lists page is behind";
  ::Sleep(200);
  EXPECT_TRUE(SaveScreenshot(options, L"options-general"));

  HWND beep = FindChild(options, L"Button", L"Beep after the scan and repair action");
  PressButton(beep);
  ASSERT_TRUE(WaitUntil([&] { return ::SendMessageW(beep, BM_GETCHECK, 0, 0) == BST_CHECKED; }, 5000));

  TypeChord(options, {VK_CONTROL, VK_TAB});
  ASSERT_TRUE(WaitUntil([&] { return TabCtrl_GetCurSel(pages) == 1 && ::IsWindowVisible(add); }, 5000))
      << "Ctrl+Tab did not bring the Ignore Lists page";
  EXPECT_FALSE(::IsWindowVisible(beep));

  TypeChord(options, {VK_MENU, 'A'});
  HWND entry = WaitForDialog(quillet, kDialogClass, L"Add to Ignore List");
  ASSERT_NE(entry, nullptr);
  HWND ok = FindChild(entry, L"Button", L"&OK");
  HWND field = FindChild(entry, L"Edit");
  ASSERT_NE(ok, nullptr);
  ASSERT_NE(field, nullptr);
  EXPECT_NE(FindChild(entry, L"Button", L"&Launch Registry Editor"), nullptr);
  EXPECT_NE(FindChild(entry, L"Static", L"Enter the value or key like: HKEY_CURRENT_USER\\Software\\Microsoft"), nullptr);
  EXPECT_FALSE(::IsWindowEnabled(ok)) << "OK with an empty field";
  const std::wstring value = L"HKEY_CURRENT_USER\\Software\\QuilletGui\\Setting";
  EXPECT_TRUE(WaitUntil([&] { return FocusOf(entry) == field; }, 5000)) << "the path field starts with the focus";
  ::SendMessageW(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(value.c_str()));
  ASSERT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(ok) != 0; }, 5000));
  ::Sleep(200);
  EXPECT_TRUE(SaveScreenshot(entry, L"options-add-to-ignore-list"));

  // The registry editor comes through the shell, and the dialog stays for the path copied from it.
  TypeChord(entry, {VK_MENU, 'L'});
  HWND editor = nullptr;
  EXPECT_TRUE(WaitUntil(
      [&] {
        std::vector<HWND> found = TopLevelWindows(0, nullptr, L"Registry Editor");
        editor = found.empty() ? nullptr : found.front();
        return editor != nullptr;
      },
      15000))
      << "no registry editor";
  if (editor) ::PostMessageW(editor, WM_CLOSE, 0, 0);
  EXPECT_TRUE(::IsWindowVisible(entry));
  EXPECT_TRUE(WaitUntil([&] { return !editor || !::IsWindow(editor); }, 10000));
  TypeChord(entry, {VK_RETURN});
  ASSERT_TRUE(WaitUntil([&] { return Gone(entry); }, 5000));

  const std::vector<HWND> lists = Children(options, WC_LISTVIEWW);
  ASSERT_EQ(lists.size(), 2u);
  RemoteList values(lists[0], quillet.Handle());
  ASSERT_TRUE(WaitUntil([&] { return values.Count() == 1; }, 5000));
  EXPECT_EQ(values.Text(0, 0), value);
  EXPECT_FALSE(values.Ticked(0));

  // A double-click on the row edits it: the Add dialog comes with the entry, Escape leaves it.
  POINT row = values.StateIconPoint(0);
  row.x += 80;
  DoubleClick(lists[0], row);
  HWND edit = WaitForDialog(quillet, kDialogClass, L"Add to Ignore List");
  ASSERT_NE(edit, nullptr) << "the double-click opened no dialog";
  EXPECT_EQ(WindowText(FindChild(edit, L"Edit")), value);
  TypeChord(edit, {VK_ESCAPE});
  ASSERT_TRUE(WaitUntil([&] { return Gone(edit); }, 5000));
  ::Sleep(200);
  EXPECT_TRUE(SaveScreenshot(options, L"options-ignore-lists"));

  PressButton(FindChild(options, L"Button", L"&OK"));
  ASSERT_TRUE(WaitUntil([&] { return Gone(options); }, 5000));
  ASSERT_TRUE(CloseProgram());

  const std::wstring file = OptionsFilePath();
  EXPECT_EQ(::GetPrivateProfileIntW(L"Options", L"Beep", 0, file.c_str()), 1u);
  EXPECT_EQ(::GetPrivateProfileIntW(L"IgnoreValue", L"Count", 0, file.c_str()), 1u);
  wchar_t stored[512] = {};
  ::GetPrivateProfileStringW(L"IgnoreValue", L"Value1", L"", stored, 512, file.c_str());
  EXPECT_EQ(std::wstring(stored), value);
  EXPECT_EQ(::GetPrivateProfileIntW(L"IgnoreKey", L"Count", 9, file.c_str()), 0u);
  if (made) ::RemoveDirectoryW(backup.c_str());
}

TEST_F(GuiOptionsDialog, EnterWithAFolderThatDoesNotExistShowsTheMessageAndKeepsTheDialogOpen) {
  const std::wstring missing = L"C:\\QuilletGuiNowhere";
  HWND folder = FindChild(options, L"Edit");
  ASSERT_NE(folder, nullptr);
  ::SendMessageW(folder, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(missing.c_str()));
  ASSERT_TRUE(WaitUntil([&] { return FocusOf(options) == folder; }, 5000)) << "the folder field starts with the focus";
  TypeChord(options, {VK_RETURN});

  HWND box = WaitForDialog(quillet, L"#32770", L"Orvane Quillet");
  ASSERT_NE(box, nullptr) << "no message";
  EXPECT_NE(FindChild(box, L"Static", (missing + L",The backup directory does not exist.").c_str()), nullptr);
  ::Sleep(200);
  EXPECT_TRUE(SaveScreenshot(box, L"options-folder-missing"));
  ::PostMessageW(box, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(WaitUntil([&] { return Gone(box); }, 5000));

  EXPECT_TRUE(::IsWindowVisible(options)) << "the dialog closed";
  EXPECT_TRUE(WaitUntil([&] { return FocusOf(options) == folder; }, 5000)) << "the focus is not in the folder field";
  EXPECT_EQ(::GetFileAttributesW(missing.c_str()), INVALID_FILE_ATTRIBUTES) << "nothing is created";

  TypeChord(options, {VK_ESCAPE});
  ASSERT_TRUE(WaitUntil([&] { return Gone(options); }, 5000)) << "Escape did not cancel";
  ASSERT_TRUE(CloseProgram());
  wchar_t stored[512] = {};
  ::GetPrivateProfileStringW(L"Options", L"OutputDirectory", L"", stored, 512, OptionsFilePath().c_str());
  EXPECT_EQ(std::wstring(stored), BuildFolder() + L"Backup");
}

}  // namespace
}  // namespace quillet::testing
