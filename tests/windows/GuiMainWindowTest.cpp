// GUI tests: quillet.exe runs for real in the test prefix, on the run's Xvfb display, and is
// driven from outside the way a user drives it.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "GuiDriver.h"
#include "LiveScan.h"
#include "RegeditPeer.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/WideString.h"
#include "platform/win32/Win32.h"

namespace quillet::testing {
namespace {

using namespace gui;

constexpr const wchar_t* kAppPaths = L"Software\\Microsoft\\Windows\\CurrentVersion\\App Paths";
constexpr const wchar_t* kSharedDlls = L"Software\\Microsoft\\Windows\\CurrentVersion\\SharedDlls";

struct MainWindow {
  explicit MainWindow(QuilletProcess& process) : process(process), window(process.WaitForMainWindow()) {
    if (!window) return;
    tree = FindChild(window, WC_TREEVIEWW);
    list = FindChild(window, WC_LISTVIEWW);
    status = FindChild(window, STATUSCLASSNAMEW);
  }
  RemoteTree Tree() const { return RemoteTree(tree, process.Handle()); }
  RemoteList List() const { return RemoteList(list, process.Handle()); }
  std::wstring Status(int part) const { return StatusText(status, process.Handle(), part); }

  ::testing::AssertionResult ClickStateIcon(const std::wstring& caption) const {
    RemoteTree remote = Tree();
    HTREEITEM item = remote.Find(caption);
    if (!item) return ::testing::AssertionFailure() << "no node " << win32::ToUtf8(caption);
    remote.Show(item);
    const POINT point = remote.StateIconPoint(item);
    if (point.x < 0) return ::testing::AssertionFailure() << "no state icon on " << win32::ToUtf8(caption);
    const int before = remote.StateImage(item);
    Click(tree, point);
    if (!WaitUntil([&] { return remote.StateImage(item) != before; }, 5000)) {
      return ::testing::AssertionFailure() << "the tick of " << win32::ToUtf8(caption) << " did not change";
    }
    return ::testing::AssertionSuccess();
  }
  std::vector<std::wstring> Ticked() const {
    RemoteTree remote = Tree();
    std::vector<std::wstring> ticked;
    for (HTREEITEM item : remote.Items()) {
      if (remote.StateImage(item) == 2) ticked.push_back(remote.Text(item));
    }
    return ticked;
  }
  HWND ScanButton() const { return FindChild(window, L"Button", L"Scan registry issues"); }
  HWND RepairButton() const { return FindChild(window, L"Button", L"Repair registry issues"); }
  HWND ProgressDialog() const {
    std::vector<HWND> found = TopLevelWindows(process.Id(), kDialogClass, L"Scanning");
    return found.empty() ? nullptr : found.front();
  }

  QuilletProcess& process;
  HWND window;
  HWND tree = nullptr;
  HWND list = nullptr;
  HWND status = nullptr;
};

void SetString(HKEY key, const wchar_t* name, const std::wstring& text) {
  ::RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

void SetDword(HKEY key, const std::wstring& name, DWORD value) {
  ::RegSetValueExW(key, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
}

void MakeFile(const std::wstring& path) {
  win32::UniqueFile file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
}

win32::UniqueKey OpenSharedDlls() {
  win32::UniqueKey key;
  ::RegCreateKeyExW(HKEY_LOCAL_MACHINE, kSharedDlls, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(), nullptr);
  return key;
}

TEST(GuiMainWindow, StartsShowsItsWindowAndEndsWhenClosed) {
  ASSERT_TRUE(TopLevelWindows(0, kMainClass).empty()) << "another quillet.exe is still running";
  QuilletProcess quillet;
  ASSERT_TRUE(quillet.Started());
  MainWindow main(quillet);
  ASSERT_NE(main.window, nullptr) << "no visible main window with the class name and caption";
  EXPECT_NE(main.tree, nullptr);
  EXPECT_NE(main.list, nullptr);
  EXPECT_EQ(main.Tree().Items().size(), 23u);
  EXPECT_EQ(main.Ticked().size(), 23u) << "a first start ticks every category";

  ::PostMessageW(main.window, WM_CLOSE, 0, 0);
  DWORD exitCode = 1;
  ASSERT_TRUE(quillet.WaitForExit(10000, &exitCode)) << "quillet.exe did not end after its window was closed";
  EXPECT_EQ(exitCode, 0u);
}

TEST(GuiMainWindow, ASecondStartHandsOverToTheFirstAndExits) {
  QuilletProcess first;
  MainWindow main(first);
  ASSERT_NE(main.window, nullptr);
  ::ShowWindow(main.window, SW_MINIMIZE);
  ASSERT_TRUE(WaitUntil([&] { return ::IsIconic(main.window) != 0; }, 5000));

  QuilletProcess second;
  DWORD exitCode = 1;
  ASSERT_TRUE(second.WaitForExit(15000, &exitCode)) << "the second start did not end";
  EXPECT_EQ(exitCode, 0u);
  EXPECT_TRUE(TopLevelWindows(second.Id(), kMainClass).empty()) << "the second start made a window";
  EXPECT_TRUE(WaitUntil([&] { return !::IsIconic(main.window) && ::IsWindowVisible(main.window); }, 5000))
      << "the first window was not restored";
  EXPECT_TRUE(WaitUntil([&] { return ::GetForegroundWindow() == main.window; }, 5000))
      << "the first window did not come to the front";
  EXPECT_FALSE(first.WaitForExit(0)) << "the first instance ended";
}

TEST(GuiCategoryTree, StateIconClicksFollowTheTickRulesAndCaptionClicksDoNot) {
  QuilletProcess quillet;
  MainWindow main(quillet);
  ASSERT_NE(main.window, nullptr);
  RemoteTree tree = main.Tree();

  ASSERT_TRUE(main.ClickStateIcon(L"My Computers"));
  EXPECT_TRUE(main.Ticked().empty()) << "unticking the root unticks every node";

  ASSERT_TRUE(main.ClickStateIcon(L"Files and Folders"));
  EXPECT_EQ(main.Ticked(), (std::vector<std::wstring>{L"My Computers", L"Files and Folders", L"HKEY_LOCAL_MACHINE",
                                                      L"HKEY_CURRENT_USER", L"HKEY_USERS"}));

  ASSERT_TRUE(main.ClickStateIcon(L"HKEY_LOCAL_MACHINE"));
  ASSERT_TRUE(main.ClickStateIcon(L"HKEY_CURRENT_USER"));
  EXPECT_EQ(main.Ticked(), (std::vector<std::wstring>{L"My Computers", L"Files and Folders", L"HKEY_USERS"}));
  ASSERT_TRUE(main.ClickStateIcon(L"HKEY_USERS"));
  EXPECT_TRUE(main.Ticked().empty()) << "the last ticked child took its parent and the root with it";

  HTREEITEM shared = tree.Find(L"Shared DLLs");
  Click(main.tree, tree.CaptionPoint(shared));
  Click(main.tree, tree.CaptionPoint(tree.Find(L"My Computers")));
  // A click that changes something would show by now; the state icon click after it is the marker.
  ASSERT_TRUE(main.ClickStateIcon(L"Windows Fonts"));
  EXPECT_EQ(main.Ticked(), (std::vector<std::wstring>{L"My Computers", L"Windows Fonts"}));

  // A double click on a node with children is how a user collapses it.
  const POINT files = tree.CaptionPoint(tree.Find(L"Files and Folders"));
  ::PostMessageW(main.tree, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(files.x, files.y));
  ::PostMessageW(main.tree, WM_LBUTTONUP, 0, MAKELPARAM(files.x, files.y));
  ASSERT_TRUE(main.ClickStateIcon(L"Windows Fonts"));
  EXPECT_NE(::SendMessageW(main.tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(tree.Find(L"Files and Folders")),
                           TVIS_EXPANDED) & TVIS_EXPANDED,
            0) << "the tree refuses to collapse";
}

// Rows and counts of a real scan of seeded registry entries, against the same scanners run here.
class GuiScan : public ::testing::Test {
 protected:
  static constexpr const wchar_t* kFolder = L"C:\\QuilletGui";

  void SetUp() override {
    ::CreateDirectoryW(kFolder, nullptr);
    MakeFile(std::wstring(kFolder) + L"\\present.exe");
    MakeFile(std::wstring(kFolder) + L"\\used.dll");
    MakeFile(std::wstring(kFolder) + L"\\zero.dll");
    for (const auto& [name, command] : {std::pair<const wchar_t*, std::wstring>{L"QuilletGuiGone.exe", L"C:\\QuilletGui\\QuilletGuiGone.exe"},
                                        {L"QuilletGuiPresent.exe", L"C:\\QuilletGui\\present.exe"}}) {
      win32::UniqueKey key;
      ::RegCreateKeyExW(HKEY_LOCAL_MACHINE, (std::wstring(kAppPaths) + L"\\" + name).c_str(), 0, nullptr, 0,
                        KEY_ALL_ACCESS, nullptr, key.put(), nullptr);
      SetString(key.get(), L"", command);
    }
    win32::UniqueKey shared = OpenSharedDlls();
    for (const auto& [name, count] : kSharedValues) SetDword(shared.get(), name, count);
  }

  void TearDown() override {
    for (const wchar_t* name : {L"QuilletGuiGone.exe", L"QuilletGuiPresent.exe"}) {
      ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, (std::wstring(kAppPaths) + L"\\" + name).c_str());
    }
    win32::UniqueKey shared = OpenSharedDlls();
    for (const auto& [name, count] : kSharedValues) ::RegDeleteValueW(shared.get(), name);
    for (const wchar_t* file : {L"present.exe", L"used.dll", L"zero.dll"}) {
      ::DeleteFileW((std::wstring(kFolder) + L"\\" + file).c_str());
    }
    ::RemoveDirectoryW(kFolder);
  }

  // What the scanners find for these categories, run in this process against the same prefix.
  static std::vector<std::wstring> ExpectedRows(std::vector<std::string> codes) {
    std::vector<std::wstring> rows;
    for (const ProblemEntry& row : RunLiveScan(std::move(codes)).rows) {
      rows.push_back(win32::ToWide(row.problem + "|" + row.keyPath + "|" + row.value));
    }
    return rows;
  }

  static constexpr std::pair<const wchar_t*, DWORD> kSharedValues[] = {
      {L"C:\\QuilletGui\\gone.dll", 1}, {L"C:\\QuilletGui\\used.dll", 1}, {L"C:\\QuilletGui\\zero.dll", 0}};
};

TEST_F(GuiScan, FillsTheListWithTheRowsOfTheTickedCategoriesAndCountsThem) {
  const std::vector<std::wstring> expected = ExpectedRows({"1", "6", "9"});
  for (const wchar_t* seeded :
       {L"Software Locations Issue|HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\App "
        L"Paths\\QuilletGuiGone.exe|C:\\QuilletGui\\QuilletGuiGone.exe",
        L"Missing Shared Dlls|HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\SharedDlls|"
        L"C:\\QuilletGui\\gone.dll",
        L"Missing Shared Dlls|HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\SharedDlls|"
        L"C:\\QuilletGui\\zero.dll"}) {
    EXPECT_NE(std::find(expected.begin(), expected.end(), seeded), expected.end()) << win32::ToUtf8(seeded);
  }

  QuilletProcess quillet;
  MainWindow main(quillet);
  ASSERT_NE(main.window, nullptr);
  ASSERT_TRUE(main.ClickStateIcon(L"My Computers"));
  ASSERT_TRUE(main.ClickStateIcon(L"Software Locations"));
  ASSERT_TRUE(main.ClickStateIcon(L"Shared DLLs"));
  EXPECT_EQ(main.Ticked(), (std::vector<std::wstring>{L"My Computers", L"Software Locations", L"Shared DLLs"}));

  PressButton(main.ScanButton());
  const std::wstring found = L" " + std::to_wstring(expected.size()) + L" problems found";
  ASSERT_TRUE(WaitUntil([&] { return main.Status(0) == found && !main.ProgressDialog(); }, 30000))
      << "status bar: " << win32::ToUtf8(main.Status(0));
  EXPECT_EQ(main.Status(1), L" " + std::to_wstring(expected.size()) + L" problems selected for repairing");
  RemoteList list = main.List();
  EXPECT_EQ(list.Rows(), expected);
  for (int row = 0; row < list.Count(); ++row) EXPECT_TRUE(list.Ticked(row)) << "row " << row;
  EXPECT_TRUE(::IsWindowEnabled(main.window));
  EXPECT_TRUE(SaveScreenshot(main.window, L"main-window-after-scan"));

  // Clicking a row's tick box unticks it, and the click on the list refreshes the count.
  const POINT box = list.StateIconPoint(0);
  ASSERT_GE(box.x, 0) << "no tick box on the first row";
  Click(main.list, box);
  const std::wstring fewer = L" " + std::to_wstring(expected.size() - 1) + L" problems selected for repairing";
  EXPECT_TRUE(WaitUntil([&] { return main.Status(1) == fewer; }, 5000)) << win32::ToUtf8(main.Status(1));
  EXPECT_FALSE(list.Ticked(0));
}

TEST_F(GuiScan, StopDuringASlowScanReturnsToTheMainWindow) {
  constexpr int kValues = 60000;
  {
    win32::UniqueKey shared = OpenSharedDlls();
    for (int i = 0; i < kValues; ++i) SetDword(shared.get(), L"C:\\QuilletGuiSlow\\missing" + std::to_wstring(i) + L".dll", 1);
  }
  struct Cleanup {
    ~Cleanup() {
      win32::UniqueKey shared = OpenSharedDlls();
      for (int i = 0; i < kValues; ++i) {
        ::RegDeleteValueW(shared.get(), (L"C:\\QuilletGuiSlow\\missing" + std::to_wstring(i) + L".dll").c_str());
      }
    }
  } cleanup;

  QuilletProcess quillet;
  MainWindow main(quillet);
  ASSERT_NE(main.window, nullptr);
  ASSERT_TRUE(main.ClickStateIcon(L"My Computers"));
  ASSERT_TRUE(main.ClickStateIcon(L"Shared DLLs"));
  RemoteList list = main.List();

  PressButton(main.ScanButton());
  ASSERT_TRUE(WaitUntil([&] { return main.ProgressDialog() != nullptr; }, 10000)) << "no progress dialog";
  HWND dialog = main.ProgressDialog();
  ASSERT_TRUE(WaitUntil([&] { return list.Count() >= 200; }, 20000)) << "no rows arrived while scanning";
  EXPECT_FALSE(::IsWindowEnabled(main.window)) << "the main window waits under the dialog";
  EXPECT_NE(FindChild(dialog, L"msctls_progress32"), nullptr);
  EXPECT_TRUE(SaveScreenshot(dialog, L"progress-dialog-during-scan"));

  const auto stopped = std::chrono::steady_clock::now();
  PressButton(FindChild(dialog, L"Button", L"Stop"));
  ASSERT_TRUE(WaitUntil([&] { return main.ProgressDialog() == nullptr; }, 10000)) << "the dialog stayed after Stop";
  const auto closeMs =
      std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - stopped).count();
  EXPECT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(main.window) != 0; }, 5000));
  const int rows = list.Count();
  EXPECT_GT(rows, 0);
  EXPECT_LT(rows, kValues) << "the scan ran to its end instead of stopping";
  ::Sleep(500);
  EXPECT_EQ(list.Count(), rows) << "rows kept arriving after the stop";
  EXPECT_EQ(main.Status(0), L" " + std::to_wstring(rows) + L" problems found");
  std::printf("stop closed the dialog after %lld ms with %d rows in the list\n", static_cast<long long>(closeMs), rows);
}

bool ValueExists(HKEY root, const wchar_t* path, const wchar_t* name) {
  win32::UniqueKey key;
  if (::RegOpenKeyExW(root, path, 0, KEY_READ, key.put()) != ERROR_SUCCESS) return false;
  return ::RegQueryValueExW(key.get(), name, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

bool KeyExists(HKEY root, const std::wstring& path) {
  win32::UniqueKey key;
  return ::RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, key.put()) == ERROR_SUCCESS;
}

// The backup files in a folder, with their full paths.
std::vector<std::wstring> RegFilesIn(const std::wstring& folder) {
  std::vector<std::wstring> files;
  WIN32_FIND_DATAW found{};
  win32::UniqueFind find(::FindFirstFileW((folder + L"\\*.reg").c_str(), &found));
  if (!find) return files;
  do {
    files.push_back(folder + L"\\" + found.cFileName);
  } while (::FindNextFileW(find.get(), &found));
  return files;
}

void RemoveFolderWithFiles(const std::wstring& folder) {
  for (const std::wstring& file : RegFilesIn(folder)) ::DeleteFileW(file.c_str());
  ::RemoveDirectoryW(folder.c_str());
}

TEST_F(GuiScan, RepairThroughTheButtonBacksUpDeletesAndShowsTheNotice) {
  const std::wstring backups = L"C:\\QuilletGuiBackups";
  ::CreateDirectoryW(backups.c_str(), nullptr);
  struct Cleanup {
    std::wstring folder;
    ~Cleanup() { RemoveFolderWithFiles(folder); }
  } cleanup{backups};
  ASSERT_TRUE(WriteOption(L"Options", L"OutputDirectory", backups));
  const std::vector<std::wstring> expected = ExpectedRows({"1", "6", "9"});

  QuilletProcess quillet;
  MainWindow main(quillet);
  ASSERT_NE(main.window, nullptr);
  ASSERT_TRUE(main.ClickStateIcon(L"My Computers"));
  ASSERT_TRUE(main.ClickStateIcon(L"Software Locations"));
  ASSERT_TRUE(main.ClickStateIcon(L"Shared DLLs"));
  PressButton(main.ScanButton());
  const std::wstring found = L" " + std::to_wstring(expected.size()) + L" problems found";
  ASSERT_TRUE(WaitUntil([&] { return main.Status(0) == found && !main.ProgressDialog(); }, 30000))
      << "status bar: " << win32::ToUtf8(main.Status(0));

  PressButton(main.RepairButton());
  HWND notice = nullptr;
  ASSERT_TRUE(WaitUntil(
      [&] {
        for (HWND dialog : TopLevelWindows(quillet.Id(), kDialogClass, L"Orvane Quillet")) {
          if (::IsWindowVisible(dialog)) notice = dialog;
        }
        return notice != nullptr;
      },
      30000))
      << "no repair notice";
  const std::wstring sentence = L"There are total " + std::to_wstring(expected.size()) + L" problems to be repaired.";
  EXPECT_NE(FindChild(notice, L"Static", sentence.c_str()), nullptr) << "the notice does not say " << win32::ToUtf8(sentence);
  EXPECT_NE(FindChild(notice, L"Button", L"Don't show this hint dialog next time"), nullptr);
  ::Sleep(200);
  EXPECT_TRUE(SaveScreenshot(notice, L"repair-notice"));
  PressButton(FindChild(notice, L"Button", L"&Close"));
  ASSERT_TRUE(WaitUntil([&] { return main.Status(0) == L" 0 problems found"; }, 10000))
      << "status bar: " << win32::ToUtf8(main.Status(0));
  EXPECT_EQ(main.List().Count(), 0);

  const std::wstring gone = std::wstring(kAppPaths) + L"\\QuilletGuiGone.exe";
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, gone));
  EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, std::wstring(kAppPaths) + L"\\QuilletGuiPresent.exe"));
  EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE, kSharedDlls, L"C:\\QuilletGui\\gone.dll"));
  EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE, kSharedDlls, L"C:\\QuilletGui\\zero.dll"));
  EXPECT_TRUE(ValueExists(HKEY_LOCAL_MACHINE, kSharedDlls, L"C:\\QuilletGui\\used.dll"));

  // One dated backup holds what went; the registry editor brings it back (and with it whatever
  // else of the prefix these categories found).
  const std::vector<std::wstring> files = RegFilesIn(backups);
  ASSERT_EQ(files.size(), 1u);
  const std::wstring name = files[0].substr(backups.size() + 1);
  EXPECT_TRUE(name.starts_with(L"Backup") && name.size() == std::wstring(L"Backup20260307090503.reg").size())
      << win32::ToUtf8(name);
  ASSERT_TRUE(ImportWithRegedit(files[0]));
  EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, gone));
  EXPECT_TRUE(ValueExists(HKEY_LOCAL_MACHINE, kSharedDlls, L"C:\\QuilletGui\\gone.dll"));
  EXPECT_TRUE(ValueExists(HKEY_LOCAL_MACHINE, kSharedDlls, L"C:\\QuilletGui\\zero.dll"));
}

TEST(GuiCleanOnce, ScansWithTheStoredTicksAsksAboutAMissingBackupFolderAndEndsByItself) {
  // Nothing is stale in the fonts category of a fresh prefix, and No to the folder question
  // ends the repair before it touches anything.
  const std::wstring missing = L"C:\\QuilletGuiMissing\\Backups";
  ASSERT_TRUE(WriteTicks({1, 7}));
  ASSERT_TRUE(WriteOption(L"Options", L"OutputDirectory", missing));
  QuilletProcess quillet(L"-CleanOnce");
  ASSERT_TRUE(quillet.Started());
  // The progress dialog hides itself as the scan starts; it must not be on screen while it runs.
  int visibleDialogSamples = 0;
  bool asked = false;
  DWORD exitCode = 1;
  const bool ended = WaitUntil(
      [&] {
        for (HWND dialog : TopLevelWindows(quillet.Id(), kDialogClass, L"Scanning")) {
          if (::IsWindowVisible(dialog)) ++visibleDialogSamples;
        }
        for (HWND box : TopLevelWindows(quillet.Id(), L"#32770", L"Orvane Quillet")) {
          if (!::IsWindowVisible(box)) continue;
          asked = true;
          ::PostMessageW(box, WM_COMMAND, IDNO, 0);
        }
        return quillet.WaitForExit(0, &exitCode);
      },
      120000, 20);
  ASSERT_TRUE(ended) << "the unattended run did not end";
  EXPECT_EQ(exitCode, 0u);
  EXPECT_LE(visibleDialogSamples, 1) << "the progress dialog stayed on screen";
  EXPECT_TRUE(asked) << "the repair did not ask about the missing backup folder";
  EXPECT_EQ(::GetFileAttributesW(missing.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(GuiAbout, TheHelpMenuOpensTheAboutBox) {
  QuilletProcess quillet;
  MainWindow main(quillet);
  ASSERT_NE(main.window, nullptr);
  TypeChord(main.window, {VK_MENU, 'H'});
  ::Sleep(300);
  TypeChord(main.window, {'A'});
  HWND about = nullptr;
  ASSERT_TRUE(WaitUntil(
      [&] {
        std::vector<HWND> found = TopLevelWindows(quillet.Id(), kDialogClass, L"About Orvane Quillet");
        about = found.empty() ? nullptr : found.front();
        return about && ::IsWindowVisible(about);
      },
      10000))
      << "no About box";
  EXPECT_NE(FindChild(about, L"Static", L"Orvane Quillet"), nullptr);
  EXPECT_NE(FindChild(about, L"Static", L"Version: 3.5   Build 20140530"), nullptr);
  HWND ok = FindChild(about, L"Button", L"&OK");
  ASSERT_NE(ok, nullptr);
  ::Sleep(200);
  EXPECT_TRUE(SaveScreenshot(about, L"about-box"));
  PressButton(ok);
  EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(about) || !::IsWindowVisible(about); }, 5000));
}

}  // namespace
}  // namespace quillet::testing
