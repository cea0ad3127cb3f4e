// The options file under Wine: quillet.exe saves its ticks and bounds through the system's
// profile functions when it closes and comes back with them when started again.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "GuiDriver.h"
#include "ScratchFolder.h"
#include "TestPaths.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/WideString.h"

namespace quillet::testing {
namespace {

using namespace gui;

struct Running {
  explicit Running(QuilletProcess& process) : process(process), window(process.WaitForMainWindow()) {
    if (window) tree = FindChild(window, WC_TREEVIEWW);
  }
  RemoteTree Tree() const { return RemoteTree(tree, process.Handle()); }
  std::vector<std::wstring> Unticked() const {
    RemoteTree remote = Tree();
    std::vector<std::wstring> unticked;
    for (HTREEITEM item : remote.Items()) {
      if (remote.StateImage(item) != 2) unticked.push_back(remote.Text(item));
    }
    return unticked;
  }
  ::testing::AssertionResult Untick(const std::wstring& caption) const {
    RemoteTree remote = Tree();
    HTREEITEM item = remote.Find(caption);
    if (!item) return ::testing::AssertionFailure() << "no node " << win32::ToUtf8(caption);
    remote.Show(item);
    Click(tree, remote.StateIconPoint(item));
    if (!WaitUntil([&] { return remote.StateImage(item) == 1; }, 5000)) {
      return ::testing::AssertionFailure() << win32::ToUtf8(caption) << " stayed ticked";
    }
    return ::testing::AssertionSuccess();
  }
  RECT Bounds() const {
    RECT rect{};
    ::GetWindowRect(window, &rect);
    return rect;
  }
  ::testing::AssertionResult CloseAndWait() const {
    ::PostMessageW(window, WM_CLOSE, 0, 0);
    DWORD exitCode = 1;
    if (!process.WaitForExit(10000, &exitCode)) return ::testing::AssertionFailure() << "quillet.exe did not end";
    if (exitCode != 0) return ::testing::AssertionFailure() << "exit code " << exitCode;
    return ::testing::AssertionSuccess();
  }

  QuilletProcess& process;
  HWND window;
  HWND tree = nullptr;
};

std::string BoundsText(const RECT& rect) {
  return std::to_string(rect.left) + "," + std::to_string(rect.top) + " " + std::to_string(rect.right - rect.left) +
         "x" + std::to_string(rect.bottom - rect.top);
}

TEST(GuiOptionsFile, TicksAndBoundsComeBackAfterARestartFromTheFileTheProfileFunctionsWrote) {
  const RECT placed{40, 30, 40 + 760, 30 + 590};
  {
    QuilletProcess quillet;
    Running first(quillet);
    ASSERT_NE(first.window, nullptr);
    ASSERT_TRUE(first.Untick(L"Shared DLLs"));
    ASSERT_TRUE(first.Untick(L"HKEY_USERS"));
    // Moved and resized as a drag of the frame does it; not activated, so the window keeps the place.
    ::SetWindowPos(first.window, nullptr, placed.left, placed.top, placed.right - placed.left,
                   placed.bottom - placed.top, SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_TRUE(WaitUntil([&] { return BoundsText(first.Bounds()) == BoundsText(placed); }, 5000))
        << BoundsText(first.Bounds());
    ASSERT_TRUE(first.CloseAndWait());
  }

  std::string trees = "[TreeViewNodeCheck]\r\n";
  for (int node = 1; node <= 24; ++node) trees += std::to_string(node) + (node == 5 || node == 9 ? "=0\r\n" : "=1\r\n");
  const std::string expected = "[Options]\r\n"
                               "OutputDirectory=" + win32::ToUtf8(BuildFolder()) + "Backup\r\n"
                               "DeleteBackupFile=1\r\n"
                               "IncludeRemoveMedia=0\r\n"
                               "IncludeCDdrive=0\r\n"
                               "Beep=0\r\n"
                               "ShowHint=1\r\n"
                               "RestorePoint=0\r\n"
                               "Lan=English\r\n" +
                               trees +
                               "[IgnoreValue]\r\n"
                               "Count=0\r\n"
                               "[IgnoreKey]\r\n"
                               "Count=0\r\n"
                               "[Window]\r\n"
                               "State=1\r\n"
                               "Left=40\r\n"
                               "Top=30\r\n"
                               "Width=760\r\n"
                               "Height=590\r\n";
  EXPECT_EQ(ReadBytes(OptionsFilePath()), expected);

  {
    QuilletProcess quillet;
    Running second(quillet);
    ASSERT_NE(second.window, nullptr);
    EXPECT_EQ(second.Unticked(), (std::vector<std::wstring>{L"HKEY_USERS", L"Shared DLLs"}));
    EXPECT_TRUE(WaitUntil([&] { return BoundsText(second.Bounds()) == BoundsText(placed); }, 5000))
        << BoundsText(second.Bounds());
    EXPECT_TRUE(SaveScreenshot(second.window, L"main-window-restarted"));
    ASSERT_TRUE(second.CloseAndWait());
  }
  EXPECT_EQ(ReadBytes(OptionsFilePath()), expected) << "an unchanged run saves the same file";
}

TEST(GuiOptionsFile, AWindowClosedMaximizedStartsMaximized) {
  {
    QuilletProcess quillet;
    Running first(quillet);
    ASSERT_NE(first.window, nullptr);
    ::ShowWindow(first.window, SW_MAXIMIZE);
    ASSERT_TRUE(WaitUntil([&] { return ::IsZoomed(first.window) != 0; }, 5000));
    ASSERT_TRUE(first.CloseAndWait());
  }
  wchar_t state[16] = {};
  ::GetPrivateProfileStringW(L"Window", L"State", L"", state, 16, OptionsFilePath().c_str());
  EXPECT_EQ(std::wstring(state), L"3");

  QuilletProcess quillet;
  Running second(quillet);
  ASSERT_NE(second.window, nullptr);
  EXPECT_TRUE(WaitUntil([&] { return ::IsZoomed(second.window) != 0; }, 5000)) << "the window did not maximize";
  ASSERT_TRUE(second.CloseAndWait());
}

TEST(GuiOptionsFile, AWindowClosedMinimizedStartsNormalWhereItWas) {
  const RECT placed{60, 50, 60 + 700, 50 + 560};
  {
    QuilletProcess quillet;
    Running first(quillet);
    ASSERT_NE(first.window, nullptr);
    ::SetWindowPos(first.window, nullptr, placed.left, placed.top, placed.right - placed.left,
                   placed.bottom - placed.top, SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_TRUE(WaitUntil([&] { return BoundsText(first.Bounds()) == BoundsText(placed); }, 5000));
    ::ShowWindow(first.window, SW_MINIMIZE);
    ASSERT_TRUE(WaitUntil([&] { return ::IsIconic(first.window) != 0; }, 5000));
    ASSERT_TRUE(first.CloseAndWait());
  }
  const std::wstring file = OptionsFilePath();
  EXPECT_EQ(::GetPrivateProfileIntW(L"Window", L"State", 0, file.c_str()), 2u);
  EXPECT_EQ(::GetPrivateProfileIntW(L"Window", L"Left", 0, file.c_str()), 60u) << "not the parked position";

  QuilletProcess quillet;
  Running second(quillet);
  ASSERT_NE(second.window, nullptr);
  EXPECT_TRUE(WaitUntil([&] { return BoundsText(second.Bounds()) == BoundsText(placed); }, 5000))
      << BoundsText(second.Bounds());
  EXPECT_FALSE(::IsIconic(second.window));
  ASSERT_TRUE(second.CloseAndWait());
}

TEST(GuiOptionsFile, AFileThatCannotBeWrittenGetsTheErrorBoxAndTheProgramStillEnds) {
  const std::wstring path = OptionsFilePath();
  const std::string before = "[Options]\r\nBeep=0\r\n";
  {
    QuilletProcess quillet;  // a first run makes the folder
    Running first(quillet);
    ASSERT_NE(first.window, nullptr);
    ASSERT_TRUE(first.CloseAndWait());
  }
  {
    // Held open without sharing, as another program holding the file locked would; a read-only
    // attribute would not do, the tests run as a user the file system lets write anyway.
    win32::UniqueFile locked(
        ::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    ASSERT_TRUE(locked.valid());
    DWORD written = 0;
    ASSERT_TRUE(::WriteFile(locked.get(), before.data(), static_cast<DWORD>(before.size()), &written, nullptr));

    QuilletProcess quillet;
    Running main(quillet);
    ASSERT_NE(main.window, nullptr);
    ::PostMessageW(main.window, WM_CLOSE, 0, 0);
    HWND box = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] {
          std::vector<HWND> found = TopLevelWindows(quillet.Id(), L"#32770", L"Orvane Quillet");
          box = found.empty() ? nullptr : found.front();
          return box != nullptr;
        },
        10000))
        << "no error box; the program " << (quillet.WaitForExit(0) ? "ended" : "runs");
    EXPECT_NE(FindChild(box, L"Static", (L"Unable to write to " + path).c_str()), nullptr)
        << "the box does not name the file";
    EXPECT_TRUE(SaveScreenshot(box, L"options-write-error"));
    PressButton(FindChild(box, L"Button", L"OK"));
    DWORD exitCode = 1;
    ASSERT_TRUE(quillet.WaitForExit(10000, &exitCode)) << "the program did not end after the error";
    EXPECT_EQ(exitCode, 0u);
  }
  EXPECT_EQ(ReadBytes(path), before);
}

}  // namespace
}  // namespace quillet::testing
