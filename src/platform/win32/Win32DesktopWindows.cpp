#include "platform/win32/Win32DesktopWindows.h"

#include <string>

#include "platform/win32/UniqueHandle.h"
#include "platform/win32/WideString.h"
#include "platform/win32/Win32.h"

#include <shellapi.h>

namespace quillet::win32 {
namespace {

HWND AsWindow(WindowId window) { return reinterpret_cast<HWND>(window); }

struct ChildSearch {
  std::wstring className;
  HWND found = nullptr;
};

BOOL CALLBACK MatchChild(HWND window, LPARAM param) {
  auto& search = *reinterpret_cast<ChildSearch*>(param);
  wchar_t name[256];
  if (::GetClassNameW(window, name, 256) > 0 && search.className == name) {
    search.found = window;
    return FALSE;
  }
  return TRUE;
}

// Key data of one press of the key, as the system gives it with the message: a repeat count of
// one and the key's scan code. Some tree and list views ignore characters without it.
LPARAM KeyData(UINT virtualKey) {
  return static_cast<LPARAM>(1 | (::MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC) << 16));
}

// Sent and waited for, but never longer than a hung window allows: the program must not hang
// with another program.
void SendAndWait(WindowId window, UINT message, WPARAM wParam, LPARAM lParam) {
  constexpr UINT kMostMs = 2000;
  DWORD_PTR result = 0;
  ::SendMessageTimeoutW(AsWindow(window), message, wParam, lParam, SMTO_ABORTIFHUNG, kMostMs, &result);
}

}  // namespace

WindowId Win32DesktopWindows::FindTopLevelWindow(std::string_view className) {
  return reinterpret_cast<WindowId>(::FindWindowW(ToWide(className).c_str(), nullptr));
}

WindowId Win32DesktopWindows::FindChildWindow(WindowId parent, std::string_view className) {
  // The editor's tree and list may sit in a pane window of their own, so every descendant counts.
  ChildSearch search{ToWide(className)};
  ::EnumChildWindows(AsWindow(parent), MatchChild, reinterpret_cast<LPARAM>(&search));
  return reinterpret_cast<WindowId>(search.found);
}

bool Win32DesktopWindows::StartProgram(std::string_view file, unsigned waitMs) {
  const std::wstring wide = ToWide(file);
  SHELLEXECUTEINFOW request{};
  request.cbSize = sizeof(request);
  request.fMask = SEE_MASK_NOCLOSEPROCESS;
  request.lpVerb = L"open";
  request.lpFile = wide.c_str();
  request.nShow = SW_SHOWNORMAL;
  if (!::ShellExecuteExW(&request)) return false;
  UniqueKernelHandle process(request.hProcess);
  if (process) ::WaitForInputIdle(process.get(), waitMs);
  return true;
}

void Win32DesktopWindows::ShowMaximized(WindowId window) { ::ShowWindow(AsWindow(window), SW_SHOWMAXIMIZED); }

void Win32DesktopWindows::SetForeground(WindowId window) { ::SetForegroundWindow(AsWindow(window)); }

void Win32DesktopWindows::SendKeyDown(WindowId window, NavigationKey key) {
  UINT virtualKey = VK_LEFT;
  if (key == NavigationKey::Right) virtualKey = VK_RIGHT;
  if (key == NavigationKey::Down) virtualKey = VK_DOWN;
  SendAndWait(window, WM_KEYDOWN, virtualKey, KeyData(virtualKey) | (1 << 24));
}

void Win32DesktopWindows::SendChar(WindowId window, char16_t code) {
  const SHORT scan = ::VkKeyScanW(static_cast<wchar_t>(code));
  SendAndWait(window, WM_CHAR, code, scan == -1 ? 1 : KeyData(LOBYTE(scan)));
}

void Win32DesktopWindows::Pause(unsigned milliseconds) { ::Sleep(milliseconds); }

}  // namespace quillet::win32
