// Shortcut files made by the system's shell link object in the prefix's real start menu and
// desktop, read back by the shell and by the portable reader, and scanned for real.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>
#include <shobjidl.h>

#include "LiveScan.h"
#include "ScratchFolder.h"
#include "platform/memory/ShellLinkReader.h"
#include "platform/win32/Win32.h"
#include "platform/win32/Win32Shell.h"
#include "platform/win32/WideString.h"

namespace quillet::testing {
namespace {

std::string FolderPath(int csidl) {
  wchar_t path[MAX_PATH] = {};
  EXPECT_EQ(::SHGetFolderPathW(nullptr, csidl | CSIDL_FLAG_CREATE, nullptr, 0, path), S_OK) << csidl;
  return win32::ToUtf8(path);
}

// Saves a shortcut to target at path through the shell link object, as an installer would.
void MakeShortcut(const std::string& path, const std::string& target) {
  IShellLinkW* link = nullptr;
  ASSERT_EQ(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                               reinterpret_cast<void**>(&link)),
            S_OK);
  // S_FALSE for a target that does not exist: the link is made all the same.
  EXPECT_TRUE(SUCCEEDED(link->SetPath(win32::ToWide(target).c_str()))) << target;
  IPersistFile* file = nullptr;
  ASSERT_EQ(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)), S_OK);
  EXPECT_EQ(file->Save(win32::ToWide(path).c_str(), TRUE), S_OK) << path;
  file->Release();
  link->Release();
}

struct ShortcutCase {
  const char* name;
  std::string target;
};

class ShortcutScanWine : public ::testing::Test {
 protected:
  void SetUp() override {
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    PutFile(scratch.At("present.txt"), "here");
    ::CreateDirectoryW(win32::ToWide(scratch.At("Folder")).c_str(), nullptr);
    cases = {
        {"QuilletShortcut present.lnk", scratch.At("present.txt")},
        {"QuilletShortcut gone.lnk", scratch.At("gone.txt")},
        {"QuilletShortcut folder.lnk", scratch.At("Folder")},
        // No drive of the prefix has this letter, so it is outside the tested drives.
        {"QuilletShortcut other drive.lnk", "Q:\\QuilletOutside\\gone.txt"},
    };
    for (const std::string& folder : {startMenu, desktop}) {
      for (const ShortcutCase& shortcut : cases) {
        const std::string path = folder + "\\" + shortcut.name;
        MakeShortcut(path, shortcut.target);
        made.push_back(path);
      }
    }
  }

  void TearDown() override {
    for (const std::string& path : made) ::DeleteFileW(win32::ToWide(path).c_str());
  }

  ScratchFolder scratch;
  const std::string startMenu = FolderPath(CSIDL_STARTMENU);
  const std::string desktop = FolderPath(CSIDL_DESKTOPDIRECTORY);
  std::vector<ShortcutCase> cases;
  std::vector<std::string> made;
};

TEST_F(ShortcutScanWine, TheShellAndThePortableReaderReadTheSameTargets) {
  win32::Win32Shell shell;
  for (const std::string& path : made) {
    const std::string bytes = GetFileOrEmpty(path);
    ASSERT_FALSE(bytes.empty()) << path;
    const std::string target = shell.ResolveShortcutTarget(path);
    EXPECT_FALSE(target.empty()) << path;
    EXPECT_EQ(ReadShellLinkTarget(bytes), target) << path;
  }
  EXPECT_EQ(shell.ResolveShortcutTarget(desktop + "\\" + cases[1].name), scratch.At("gone.txt"));
}

TEST_F(ShortcutScanWine, ReadingATargetLeavesTheShortcutFileAsItWas) {
  win32::Win32Shell shell;
  const std::string path = desktop + "\\" + cases[1].name;
  const std::string before = GetFileOrEmpty(path);
  ::Sleep(20);
  EXPECT_EQ(shell.ResolveShortcutTarget(path), scratch.At("gone.txt"));
  EXPECT_EQ(GetFileOrEmpty(path), before) << "the link of a missing target is not rewritten";
}

TEST_F(ShortcutScanWine, UnreadableShortcutFilesHaveNoTarget) {
  win32::Win32Shell shell;
  const std::string cut = scratch.At("cut.lnk");
  PutFile(cut, GetFileOrEmpty(made.front()).substr(0, 40));
  PutFile(scratch.At("text.lnk"), "not a shortcut");
  EXPECT_EQ(shell.ResolveShortcutTarget(cut), "");
  EXPECT_EQ(shell.ResolveShortcutTarget(scratch.At("text.lnk")), "");
  EXPECT_EQ(shell.ResolveShortcutTarget(scratch.At("missing.lnk")), "");
}

TEST_F(ShortcutScanWine, ReportsTheShortcutsToAMissingFileInStartMenuAndDesktop) {
  EXPECT_EQ(LiveScanRows({"17"}, "QuilletShortcut"),
            (std::vector<std::string>{
                "row:" + startMenu + "\\QuilletShortcut gone.lnk|" + scratch.At("gone.txt") + "|4",
                "row:" + desktop + "\\QuilletShortcut gone.lnk|" + scratch.At("gone.txt") + "|4",
            }));
}

}  // namespace
}  // namespace quillet::testing
