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

::testing::AssertionResult ShowsButton(HWND window, const char* utf8Caption) {
  const std::wstring caption = win32::ToWide(utf8Caption);
  if (WaitUntil([&] { return FindChild(window, L"Button", caption.c_str()) != nullptr; }, 10000)) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure() << "no button \"" << utf8Caption << "\"";
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

}  // namespace
}  // namespace quillet::testing
