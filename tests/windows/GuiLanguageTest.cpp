// The language switch in the running program: the Language menu, worked by keyboard as a user
// works it, turns the main window into Russian, Japanese and Arabic, read from the shipped
// UTF-16 language files whatever the system's code page.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "GuiDriver.h"
#include "TestPaths.h"
#include "platform/win32/WideString.h"
#include "platform/win32/Win32.h"
#include "settings/LanguageMenu.h"

namespace quillet::testing {
namespace {

using namespace gui;

bool Exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The Language menu shows the languages that have a file; the position of this one among them.
int MenuPosition(const std::string& language) {
  int position = 0;
  for (const LanguageMenuItem& item : LanguageMenuItems()) {
    const std::wstring file = L"Lan_" + win32::ToWide(LanguageOfMenuItem(item.name)) + L".ini";
    const bool shown = Exists(BuildFolder() + file) || Exists(BuildFolder() + L"Languages\\" + file);
    if (std::string(item.name) == "mi" + language) return shown ? position : -1;
    if (shown && std::string(item.caption) != "-") ++position;
  }
  return -1;
}

void Keys(HWND window, const std::vector<WORD>& keys) {
  for (WORD key : keys) {
    TypeChord(window, {key});
    ::Sleep(150);
  }
}

// Into the menu bar as a tap of Alt takes it there (the tap itself reaches the focused tree, not
// the bar, when sent from outside), right to the fourth menu (Language), down to open it on its
// first item, down to the language, Enter.
::testing::AssertionResult ChooseLanguage(HWND window, const std::string& language) {
  const int position = MenuPosition(language);
  if (position < 0) return ::testing::AssertionFailure() << "no shipped file for " << language;
  ::SetForegroundWindow(window);
  ::PostMessageW(window, WM_SYSCOMMAND, SC_KEYMENU, 0);
  ::Sleep(300);
  std::vector<WORD> keys{VK_RIGHT, VK_RIGHT, VK_RIGHT, VK_DOWN};
  keys.insert(keys.end(), static_cast<size_t>(position), VK_DOWN);
  keys.push_back(VK_RETURN);
  Keys(window, keys);
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult ShowsButton(HWND window, const std::wstring& caption) {
  if (caption.empty()) return ::testing::AssertionFailure() << "no caption to look for";
  if (WaitUntil([&] { return FindChild(window, L"Button", caption.c_str()) != nullptr; }, 10000)) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure() << "no button \"" << win32::ToUtf8(caption) << "\"";
}
::testing::AssertionResult ShowsButton(HWND window, const char* utf8Caption) {
  return ShowsButton(window, win32::ToWide(utf8Caption));
}

struct ChildSearch {
  const std::wstring& start;
  HWND found = nullptr;
};

BOOL CALLBACK MatchChildStart(HWND child, LPARAM param) {
  auto& search = *reinterpret_cast<ChildSearch*>(param);
  if (!WindowText(child).starts_with(search.start)) return TRUE;
  search.found = child;
  return FALSE;
}

// A control anywhere below the window whose text starts with the given one.
HWND ChildStartingWith(HWND parent, const std::wstring& start) {
  ChildSearch search{start};
  ::EnumChildWindows(parent, MatchChildStart, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// A text as the shipped language file gives it, read through the profile functions.
std::wstring ShippedText(const std::string& language, const wchar_t* section, const wchar_t* key) {
  const std::wstring file = BuildFolder() + L"Languages\\Lan_" + win32::ToWide(language) + L".ini";
  wchar_t text[512] = L"";
  ::GetPrivateProfileStringW(section, key, L"", text, 512, file.c_str());
  return text;
}

// Switches the running program to the language, finds the main window's buttons and then the
// options dialog (opened by its shortcut) as the language's file words them, and saves both.
void ExpectMainWindowAndOptionsIn(const QuilletProcess& quillet, HWND main, const std::string& language) {
  SCOPED_TRACE(language);
  ASSERT_TRUE(ChooseLanguage(main, language));
  for (const wchar_t* button : {L"bScanRegistry", L"bRepairRegistry"}) {
    EXPECT_TRUE(ShowsButton(main, ShippedText(language, L"frmQuillet", button)));
  }
  ::Sleep(300);
  EXPECT_TRUE(SaveScreenshot(main, L"main-window-" + win32::ToWide(language)));

  TypeChord(main, {VK_CONTROL, 'O'});
  const std::wstring caption = ShippedText(language, L"frmOptions", L"frmOptions");
  HWND options = WaitForDialog(quillet, kDialogClass, caption.c_str());
  ASSERT_NE(options, nullptr) << "no options dialog captioned \"" << win32::ToUtf8(caption) << '"';
  for (const wchar_t* box : {L"cbCreateRestore", L"cbDeleteBackupFile", L"cbIncludeRemoveMedia", L"cbIncludeCDdrive",
                             L"cbShowHint", L"cbBeep"}) {
    std::wstring text = ShippedText(language, L"frmOptions", box);
    // The restore-point box names the running Windows version in place of the designed list.
    if (std::wstring(box) == L"cbCreateRestore") text = text.substr(0, text.find(L'('));
    const bool found = WaitUntil([&] { return ChildStartingWith(options, text) != nullptr; }, 5000);
    EXPECT_TRUE(found) << "no check box \"" << win32::ToUtf8(text) << '"';
  }
  ::Sleep(300);
  EXPECT_TRUE(SaveScreenshot(options, L"options-" + win32::ToWide(language)));
  ::PostMessageW(options, WM_CLOSE, 0, 0);
  EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(options) || !::IsWindowVisible(options); }, 5000));
}

TEST(GuiLanguage, TheLanguageMenuSwitchesTheRunningWindowToRussianJapaneseAndArabic) {
  QuilletProcess quillet;
  HWND main = quillet.WaitForMainWindow();
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(ShowsButton(main, "Scan registry issues"));

  ASSERT_TRUE(ChooseLanguage(main, "Russian"));
  EXPECT_TRUE(ShowsButton(main, "Найти ошибки реестра"));
  EXPECT_TRUE(ShowsButton(main, "Исправить ошибки реестра"));
  EXPECT_TRUE(ShowsButton(main, "Восстановить прежний реестр"));
  ::Sleep(300);
  EXPECT_TRUE(SaveScreenshot(main, L"main-window-russian"));

  ASSERT_TRUE(ChooseLanguage(main, "Japanese"));
  EXPECT_TRUE(ShowsButton(main, "レジストリの問題をスキャン"));
  EXPECT_TRUE(ShowsButton(main, "レジストリの問題を修復"));
  EXPECT_TRUE(ShowsButton(main, "以前のレジストリを復元"));
  ::Sleep(300);
  EXPECT_TRUE(SaveScreenshot(main, L"main-window-japanese"));

  ASSERT_TRUE(ChooseLanguage(main, "Arabic"));
  EXPECT_TRUE(ShowsButton(main, "فحص مشكلات السجل"));
  ::Sleep(300);
  EXPECT_TRUE(SaveScreenshot(main, L"main-window-arabic"));

  ASSERT_TRUE(ChooseLanguage(main, "English"));
  EXPECT_TRUE(ShowsButton(main, "Scan registry issues")) << "the English file brings the designed texts back";
}

TEST(GuiLanguage, TheOptionsDialogOpensInEachLanguageChosenInTheMainWindow) {
  QuilletProcess quillet;
  HWND main = quillet.WaitForMainWindow();
  ASSERT_NE(main, nullptr);
  for (const char* language : {"German", "Greek", "Korean", "TraditionalChinese", "Turkish", "Polish"}) {
    ExpectMainWindowAndOptionsIn(quillet, main, language);
  }
}

}  // namespace
}  // namespace quillet::testing
