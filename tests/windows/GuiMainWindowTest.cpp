// GUI tests: quillet.exe runs for real in the test prefix, on the run's Xvfb display.
#include <gtest/gtest.h>

#include "TestPaths.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/Win32.h"

namespace quillet::testing {
namespace {

constexpr const wchar_t* kMainClass = L"Orvane Quillet Made by Orvane Software";

HWND WaitForWindow(const wchar_t* className, const wchar_t* caption, DWORD timeoutMs) {
  for (DWORD waited = 0; waited < timeoutMs; waited += 50) {
    if (HWND window = ::FindWindowW(className, caption)) return window;
    ::Sleep(50);
  }
  return nullptr;
}

TEST(GuiMainWindow, StartsShowsItsWindowAndEndsWhenClosed) {
  ASSERT_EQ(::FindWindowW(kMainClass, nullptr), nullptr) << "another quillet.exe is still running";
  std::wstring commandLine = L"\"" + QuilletExePath() + L"\"";
  STARTUPINFOW startup{sizeof(startup)};
  PROCESS_INFORMATION info{};
  ASSERT_TRUE(::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                               &info))
      << "CreateProcess failed: " << ::GetLastError();
  win32::UniqueKernelHandle process(info.hProcess);
  win32::UniqueKernelHandle thread(info.hThread);

  HWND window = WaitForWindow(kMainClass, L"Orvane Quillet 3.5", 20000);
  if (!window) ::TerminateProcess(process.get(), 1);
  ASSERT_NE(window, nullptr) << "no main window with the class name and caption";
  EXPECT_TRUE(::IsWindowVisible(window));
  DWORD owner = 0;
  ::GetWindowThreadProcessId(window, &owner);
  EXPECT_EQ(owner, info.dwProcessId);

  ::PostMessageW(window, WM_CLOSE, 0, 0);
  DWORD waited = ::WaitForSingleObject(process.get(), 10000);
  if (waited != WAIT_OBJECT_0) ::TerminateProcess(process.get(), 1);
  ASSERT_EQ(waited, WAIT_OBJECT_0) << "quillet.exe did not end after its window was closed";
  DWORD exitCode = 1;
  ::GetExitCodeProcess(process.get(), &exitCode);
  EXPECT_EQ(exitCode, 0u);
}

}  // namespace
}  // namespace quillet::testing
