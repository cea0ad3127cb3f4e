// Why a row was flagged and what a backup holds, driven in quillet.exe as a user drives them:
// the reason as the row's tip and in the status line, then a repair of three rows whose backup
// is viewed, one value unticked and the rest restored through Wine's registry editor.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "GuiDriver.h"
#include "RegeditPeer.h"
#include "RegistrySeed.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/WideString.h"
#include "platform/win32/Win32.h"

namespace quillet::testing {
namespace {

using namespace gui;
using win32::ToUtf8;

constexpr const wchar_t* kRunKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const wchar_t* kRunKeyLong = L"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const wchar_t* kBackups = L"C:\\QuilletViewBackups";
constexpr const wchar_t* kNames[] = {L"QuilletWhyA", L"QuilletWhyC", L"QuilletWhyB"};

std::wstring Program(const wchar_t* name) { return std::wstring(L"C:\\QuilletWhyGone\\") + name + L".exe"; }

std::vector<std::wstring> RegFileNames() {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found{};
  win32::UniqueFind find(::FindFirstFileW((std::wstring(kBackups) + L"\\*.reg").c_str(), &found));
  if (!find) return names;
  do {
    names.emplace_back(found.cFileName);
  } while (::FindNextFileW(find.get(), &found));
  return names;
}

HWND VisibleDialog(DWORD processId, const wchar_t* caption, const wchar_t* childClass, const wchar_t* childCaption = nullptr) {
  for (HWND dialog : TopLevelWindows(processId, kDialogClass, caption)) {
    if (::IsWindowVisible(dialog) && FindChild(dialog, childClass, childCaption)) return dialog;
  }
  return nullptr;
}

// The text of the visible info tip of the process, if one shows.
std::wstring ShownTip(DWORD processId) {
  for (HWND tip : TopLevelWindows(processId, TOOLTIPS_CLASSW)) {
    if (::IsWindowVisible(tip)) {
      const std::wstring text = WindowText(tip);
      if (!text.empty()) return text;
    }
  }
  return {};
}

TEST(GuiBackupView, TheReasonShowsAsTipAndStatusAndAViewedBackupRestoresOnlyTheTickedValues) {
  struct Cleanup {
    ~Cleanup() {
      win32::UniqueKey run;
      if (::RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_SET_VALUE, run.put()) == ERROR_SUCCESS) {
        for (const wchar_t* name : kNames) ::RegDeleteValueW(run.get(), name);
      }
      for (const std::wstring& name : RegFileNames()) ::DeleteFileW((std::wstring(kBackups) + L"\\" + name).c_str());
      ::RemoveDirectoryW(kBackups);
      ::DeleteFileW(L"C:\\QuilletViewTwo.reg");
      ::DeleteFileW(L"C:\\QuilletViewAfter.reg");
    }
  } cleanup;
  {
    win32::UniqueKey run = CreateKey(HKEY_CURRENT_USER, kRunKey);
    SetText(run.get(), kNames[0], Program(kNames[0]));
    SetText(run.get(), kNames[1], Program(kNames[1]));
  }
  // What the registry holds once the partial restore brought back all but B.
  const std::string twoBack = ExportWithRegedit(kRunKeyLong, L"C:\\QuilletViewTwo.reg");
  // The export is UTF-16 text.
  const std::wstring c = kNames[1];
  ASSERT_NE(twoBack.find(std::string(reinterpret_cast<const char*>(c.data()), c.size() * sizeof(wchar_t))), std::string::npos)
      << "the export of the seeded key is missing";
  {
    win32::UniqueKey run = CreateKey(HKEY_CURRENT_USER, kRunKey);
    SetText(run.get(), kNames[2], Program(kNames[2]));
  }
  ::CreateDirectoryW(kBackups, nullptr);
  ASSERT_TRUE(WriteTicks({1, 10}));
  ASSERT_TRUE(WriteOption(L"Options", L"OutputDirectory", kBackups));

  QuilletProcess quillet;
  HWND main = quillet.WaitForMainWindow();
  ASSERT_NE(main, nullptr);
  HWND listWindow = FindChild(main, WC_LISTVIEWW);
  RemoteList problems(listWindow, quillet.Handle());
  PressButton(FindChild(main, L"Button", L"Scan registry issues"));
  const auto rowOf = [&](const wchar_t* name) {
    for (int i = 0; i < problems.Count(); ++i) {
      if (problems.Text(i, 1).find(name) != std::wstring::npos) return i;
    }
    return -1;
  };
  ASSERT_TRUE(WaitUntil([&] { return rowOf(kNames[2]) >= 0 && ::IsWindowEnabled(main); }, 60000)) << "the scan missed the values";
  ASSERT_EQ(problems.Count(), 3) << "only the seeded values are broken";

  // The pointer resting on row B: its tip says which program is missing.
  const std::wstring reasonB = Program(kNames[2]) + L" does not exist";
  const POINT onRow = problems.CaptionPoint(rowOf(kNames[2]));
  POINT screen = onRow;
  ::ClientToScreen(listWindow, &screen);
  ::SetForegroundWindow(main);
  ::SetCursorPos(screen.x, screen.y);
  std::wstring tip;
  // Each move starts the tip's delay anew, so the pointer rests two seconds after each.
  for (int attempt = 0; attempt < 5 && tip != reasonB; ++attempt) {
    ::PostMessageW(listWindow, WM_MOUSEMOVE, 0, MAKELPARAM(onRow.x, onRow.y + 1 - attempt % 2));
    WaitUntil([&] { return (tip = ShownTip(quillet.Id())) == reasonB; }, 2000);
  }
  EXPECT_EQ(tip, reasonB);
  EXPECT_TRUE(SaveScreenshot(main, L"why-flagged-info-tip"));

  // Selected alone, the row's reason takes the status line's first panel.
  Click(listWindow, onRow);
  HWND status = FindChild(main, STATUSCLASSNAMEW);
  EXPECT_TRUE(WaitUntil([&] { return StatusText(status, quillet.Handle(), 0) == L" " + reasonB; }, 5000))
      << ToUtf8(StatusText(status, quillet.Handle(), 0));
  ::Sleep(200);
  EXPECT_TRUE(SaveScreenshot(main, L"why-flagged-status-line"));

  PressButton(FindChild(main, L"Button", L"Repair registry issues"));
  HWND notice = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (notice = VisibleDialog(quillet.Id(), L"Orvane Quillet", L"Button", L"&Close")); }, 60000))
      << "no repair notice";
  PressButton(FindChild(notice, L"Button", L"&Close"));
  ASSERT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(main) != 0; }, 10000));
  const std::vector<std::wstring> backups = RegFileNames();
  ASSERT_EQ(backups.size(), 1u);
  const std::wstring backupPath = std::wstring(kBackups) + L"\\" + backups[0];

  PressButton(FindChild(main, L"Button", L"Restore previous registry "));
  HWND dialog = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (dialog = VisibleDialog(quillet.Id(), L"Orvane Quillet", WC_LISTVIEWW)); }, 10000))
      << "no Restore dialog";
  RemoteList files(FindChild(dialog, WC_LISTVIEWW), quillet.Handle());
  ASSERT_EQ(files.Count(), 1);
  Click(FindChild(dialog, WC_LISTVIEWW), files.CaptionPoint(0));
  HWND view = FindChild(dialog, L"Button", L"&View…");
  ASSERT_NE(view, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(view) != 0; }, 5000));
  // Enter on the selected row opens the viewer, as the "&View…" button does.
  TypeChord(dialog, {VK_RETURN});

  HWND viewer = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (viewer = VisibleDialog(quillet.Id(), L"Backup File Contents", WC_TREEVIEWW)); }, 10000))
      << "no viewer";
  HWND treeWindow = FindChild(viewer, WC_TREEVIEWW);
  RemoteTree tree(treeWindow, quillet.Handle());
  std::vector<std::wstring> texts;
  for (HTREEITEM item : tree.Items()) texts.push_back(tree.Text(item));
  ASSERT_EQ(texts.size(), 4u) << "the key once, with its three values";
  EXPECT_EQ(texts[0], kRunKeyLong);
  const HTREEITEM valueB = tree.Find(std::wstring(kNames[2]) + L" [REG_SZ] = " + Program(kNames[2]));
  ASSERT_NE(valueB, nullptr);
  Click(treeWindow, tree.StateIconPoint(valueB));
  ASSERT_TRUE(WaitUntil([&] { return tree.StateImage(valueB) == 1; }, 5000)) << "B kept its tick";
  ::Sleep(200);
  EXPECT_TRUE(SaveScreenshot(viewer, L"backup-viewer-one-value-unticked"));

  PressButton(FindChild(viewer, L"Button", L"&Restore selected"));
  ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(viewer) || !::IsWindowVisible(viewer); }, 120000))
      << "the viewer stayed after the editor ended";
  const std::string after = ExportWithRegedit(kRunKeyLong, L"C:\\QuilletViewAfter.reg");
  EXPECT_EQ(after, twoBack) << "exactly A and C come back";
  EXPECT_NE(::GetFileAttributesW(backupPath.c_str()), INVALID_FILE_ATTRIBUTES) << "the backup file stays";

  PressButton(FindChild(dialog, L"Button", L"&Close"));
  EXPECT_TRUE(WaitUntil([&] { return !::IsWindowVisible(dialog); }, 5000));
}

}  // namespace
}  // namespace quillet::testing
