// The shell's folder picker for real: centred on the screen, the program's other windows
// disabled while it is open and enabled again afterwards, the chosen folder handed back.
#include <gtest/gtest.h>

#include <thread>

#include "ScratchFolder.h"
#include "platform/win32/Win32.h"

#include <commctrl.h>
#include <shlobj.h>

#include "platform/win32/Win32Shell.h"
#include "platform/win32/WideString.h"
#include "base/TextCompare.h"

namespace quillet::testing {
namespace {

struct PickerSeen {
  bool found = false;
  bool ownerEnabled = true;
  bool otherEnabled = true;
  RECT window{};
  RECT client{};
};

struct PickerSearch {
  HWND owner;
  HWND found;
};

BOOL CALLBACK MatchPicker(HWND window, LPARAM context) {
  auto* search = reinterpret_cast<PickerSearch*>(context);
  wchar_t className[32] = {};
  ::GetClassNameW(window, className, 32);
  DWORD process = 0;
  ::GetWindowThreadProcessId(window, &process);
  if (process == ::GetCurrentProcessId() && !wcscmp(className, L"#32770") && ::IsWindowVisible(window) &&
      ::GetWindow(window, GW_OWNER) == search->owner) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

HWND FindPicker(HWND owner) {
  PickerSearch search{owner, nullptr};
  ::EnumWindows(&MatchPicker, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::wstring SelectedTreeText(HWND picker) {
  HWND tree = ::FindWindowExW(picker, nullptr, WC_TREEVIEWW, nullptr);
  auto selected = reinterpret_cast<HTREEITEM>(::SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
  if (!tree || !selected) return {};
  wchar_t text[MAX_PATH] = {};
  TVITEMW item{};
  item.mask = TVIF_TEXT;
  item.hItem = selected;
  item.pszText = text;
  item.cchTextMax = MAX_PATH;
  ::SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
  return text;
}

// The picker shows before its tree is filled; a selection made too early is lost, so it is
// made again until the tree shows the folder.
void SelectUntilShown(HWND picker, const std::wstring& folder) {
  std::wstring leaf = folder.substr(folder.find_last_of(L'\\') + 1);
  for (int waited = 0; waited < 10000; waited += 100) {
    ::SendMessageW(picker, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(folder.c_str()));
    if (SelectedTreeText(picker) == leaf) return;
    ::Sleep(100);
  }
}

// Runs beside the picker: looks at it, optionally selects a folder, then presses a button.
std::thread Answer(HWND owner, HWND other, PickerSeen& seen, std::wstring select, WPARAM button) {
  return std::thread([=, &seen] {
    HWND picker = nullptr;
    for (int waited = 0; waited < 15000 && !picker; waited += 50) {
      ::Sleep(50);
      picker = FindPicker(owner);
    }
    if (!picker) return;
    seen.found = true;
    seen.ownerEnabled = ::IsWindowEnabled(owner);
    seen.otherEnabled = ::IsWindowEnabled(other);
    ::GetWindowRect(picker, &seen.window);
    ::GetClientRect(picker, &seen.client);
    if (!select.empty()) SelectUntilShown(picker, select);
    ::PostMessageW(picker, WM_COMMAND, button, 0);
  });
}

class GuiFolderPicker : public ::testing::Test {
 protected:
  GuiFolderPicker() {
    owner = ::CreateWindowExW(0, L"STATIC", L"Picker owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 300, 200,
                              nullptr, nullptr, nullptr, nullptr);
    other = ::CreateWindowExW(0, L"STATIC", L"Another window", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 400, 10, 300, 200,
                              nullptr, nullptr, nullptr, nullptr);
    shell.SetOwnerWindow(owner);
  }
  ~GuiFolderPicker() override {
    ::DestroyWindow(other);
    ::DestroyWindow(owner);
  }
  HWND owner = nullptr;
  HWND other = nullptr;
  win32::Win32Shell shell;
};

TEST_F(GuiFolderPicker, ReturnsTheChosenFolderAndIsCentredWhileTheProgramWaits) {
  ASSERT_TRUE(owner && other);
  ScratchFolder scratch;
  PickerSeen seen;
  std::thread helper = Answer(owner, other, seen, win32::ToWide(scratch.path()), IDOK);
  std::string path;
  bool chosen = shell.BrowseForFolder("Choose the backup folder", path);
  helper.join();

  ASSERT_TRUE(seen.found) << "no folder picker owned by the window appeared";
  EXPECT_TRUE(chosen);
  EXPECT_TRUE(SameText(path, scratch.path())) << path;
  EXPECT_EQ(seen.window.left, (::GetSystemMetrics(SM_CXSCREEN) - seen.client.right) / 2);
  EXPECT_EQ(seen.window.top, (::GetSystemMetrics(SM_CYSCREEN) - seen.client.bottom) / 2);
  EXPECT_FALSE(seen.ownerEnabled);
  EXPECT_FALSE(seen.otherEnabled);
  EXPECT_TRUE(::IsWindowEnabled(owner));
  EXPECT_TRUE(::IsWindowEnabled(other));
}

TEST_F(GuiFolderPicker, CancelLeavesThePathAlone) {
  ASSERT_TRUE(owner && other);
  PickerSeen seen;
  std::thread helper = Answer(owner, other, seen, L"", IDCANCEL);
  std::string path = "untouched";
  bool chosen = shell.BrowseForFolder("Choose", path);
  helper.join();
  ASSERT_TRUE(seen.found);
  EXPECT_FALSE(chosen);
  EXPECT_EQ(path, "untouched");
  EXPECT_TRUE(::IsWindowEnabled(other));
}

}  // namespace
}  // namespace quillet::testing
