// The options file under Wine: quillet.exe saves its ticks and bounds through the system's
// profile functions when it closes and comes back with them when started again.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "GuiDriver.h"
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

// The file's bytes as they are on disk.
std::string ReadBytes(const std::wstring& path) {
  win32::UniqueFile file(
      ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!file) return "<no file>";
  std::string bytes;
  char buffer[4096];
  DWORD read = 0;
  while (::ReadFile(file.get(), buffer, sizeof(buffer), &read, nullptr) && read > 0) bytes.append(buffer, read);
  return bytes;
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

}  // namespace
}  // namespace quillet::testing
