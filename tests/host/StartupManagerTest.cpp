// The startup manager: what it lists from the Run-type keys and the Startup folders, and how
// Delete Entry removes the ticked entries, each only after its backup is written.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "MainWindowFixture.h"
#include "tools/StartupManager.h"

namespace quillet::testing {
namespace {

constexpr const char* kRun = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kRunOnce = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
constexpr const char* kPolicyRun = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer\\Run";
constexpr const char* kRunServices = "Software\\Microsoft\\Windows\\CurrentVersion\\RunServices";
constexpr const char* kUserStartup = "C:\\Users\\User\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Startup\\";
constexpr const char* kCommonStartup = "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\Startup\\";
constexpr const char* kBackups = "C:\\Backups";
// The fixture's clock shows 7 March 2026, 09:05:03.
constexpr const char* kBackupFile = "C:\\Backups\\Backup20260307090503.reg";

std::string Hkcu(const char* key) { return std::string("HKEY_CURRENT_USER\\") + key; }
std::string Hklm(const char* key) { return std::string("HKEY_LOCAL_MACHINE\\") + key; }

class StartupManagerTest : public ::testing::Test {
 protected:
  StartupManagerTest() {
    OptionsSetting.OutputDirectory = kBackups;
    fixture.Open();
  }

  void Shortcut(const std::string& path, const std::string& target) {
    fixture.fs.file(path, "shortcut bytes of " + target);
    fixture.shell.shortcut(path, target);
  }
  // Opens the dialog through its shortcut key, runs the user's part, then presses Close.
  void WithDialog(const std::function<void(TfrmStartupManager&)>& user) {
    fixture.ui.WhileModal("frmStartupManager", [&](ui::TForm& form) {
      auto& dialog = static_cast<TfrmStartupManager&>(form);
      user(dialog);
      dialog.bClose->Click();
    });
    ui::TMenuItem* item = fixture.Window().MainMenu1->FindShortCut(ui::TShortCut::Ctrl('M'));
    ASSERT_NE(item, nullptr);
    item->Click();
    ASSERT_FALSE(fixture.ui.ModalRuns().empty());
    EXPECT_EQ(fixture.ui.ModalRuns().back().form, "frmStartupManager");
  }
  static std::vector<std::string> Rows(const TfrmStartupManager& dialog) {
    std::vector<std::string> rows;
    const ui::TListView& list = *dialog.lvStartup;
    for (size_t i = 0; i < list.Count(); ++i) rows.push_back(list.Text(i, 0) + "|" + list.Text(i, 1) + "|" + list.Text(i, 2));
    return rows;
  }
  static void Tick(TfrmStartupManager& dialog, const std::string& caption, const std::string& location) {
    ui::TListView& list = *dialog.lvStartup;
    for (size_t i = 0; i < list.Count(); ++i) {
      if (list.Text(i, 0) == caption && list.Text(i, 2) == location) return list.SetCheckedFromUser(i, true);
    }
    ADD_FAILURE() << "no row " << caption << " in " << location;
  }
  bool ValueExists(const std::string& key, const std::string& name) {
    auto cursor = fixture.reg.NewCursor();
    cursor->SetRoot(*ParseRootName(key.substr(0, key.find('\\'))));
    return cursor->OpenKey(key.substr(key.find('\\'))) && cursor->ValueExists(name);
  }

  MainWindowFixture fixture;
};

struct ListingCase {
  const char* system;
  PlatformId platform;
  unsigned major;
  unsigned minor;
  bool listsRunServices;
};

class StartupListing : public StartupManagerTest, public ::testing::WithParamInterface<ListingCase> {};

TEST_P(StartupListing, ListsStringValuesAndReadableShortcutsOfEverySourceInOrder) {
  fixture.system.osVersion(GetParam().platform, GetParam().major, GetParam().minor);
  fixture.reg.key(Hkcu(kRun))
      .expand("Tool", "%ProgramFiles%\\Tool\\tool.exe")
      .dword("Count", 1)
      .binary("Blob", {0x43, 0x3a, 0x00})
      .multi("List", {"C:\\a.exe"})
      .str("Same", "C:\\run.exe");
  fixture.reg.key(Hklm(kRun)).str("Machine", "C:\\machine.exe");
  fixture.reg.key(Hkcu(kPolicyRun)).str("Policy", "C:\\policy.exe");
  fixture.reg.key(Hklm(kPolicyRun)).str("", "C:\\default.exe");
  fixture.reg.key(Hkcu(kRunOnce)).str("Same", "C:\\once.exe");
  // A machine-wide key this user may not change: its entries could not be removed.
  fixture.reg.key(Hklm(kRunOnce)).str("Locked", "C:\\locked.exe").denyFullAccess();
  fixture.reg.key(Hkcu(kRunServices)).str("Service", "C:\\service.exe");
  fixture.reg.key(Hklm(kRunServices)).str("MachineService", "C:\\machineservice.exe");
  Shortcut(std::string(kUserStartup) + "Notes.LNK", "C:\\Notes\\notes.exe");
  fixture.fs.file(std::string(kUserStartup) + "desktop.ini", "[.ShellClassInfo]");
  fixture.fs.file(std::string(kUserStartup) + "Site.url", "[InternetShortcut]\r\nURL=http://example.invalid/");
  fixture.fs.file(std::string(kUserStartup) + "Unreadable.lnk", "not a shell link");
  fixture.fs.folder(std::string(kUserStartup) + "Folder.lnk");
  Shortcut(std::string(kCommonStartup) + "Common.lnk", "C:\\Common\\common.exe");

  std::vector<std::string> expected = {
      "Tool|%ProgramFiles%\\Tool\\tool.exe|" + Hkcu(kRun),
      "Same|C:\\run.exe|" + Hkcu(kRun),
      "Machine|C:\\machine.exe|" + Hklm(kRun),
      "Policy|C:\\policy.exe|" + Hkcu(kPolicyRun),
      "|C:\\default.exe|" + Hklm(kPolicyRun),
      "Same|C:\\once.exe|" + Hkcu(kRunOnce),
  };
  if (GetParam().listsRunServices) {
    expected.push_back("Service|C:\\service.exe|" + Hkcu(kRunServices));
    expected.push_back("MachineService|C:\\machineservice.exe|" + Hklm(kRunServices));
  }
  expected.push_back("Notes.LNK|C:\\Notes\\notes.exe|Startup");
  expected.push_back("Common.lnk|C:\\Common\\common.exe|Common Startup");

  WithDialog([&](TfrmStartupManager& dialog) {
    EXPECT_EQ(Rows(dialog), expected);
    // Columns are sized to what they hold once there are rows.
    EXPECT_NE(dialog.lvStartup->Columns()[1].width, 160);
  });
}

INSTANTIATE_TEST_SUITE_P(Systems, StartupListing,
                         ::testing::Values(ListingCase{"Windows95", PlatformId::Windows9x, 4, 0, true},
                                           ListingCase{"WindowsMe", PlatformId::Windows9x, 4, 90, true},
                                           ListingCase{"WindowsXP", PlatformId::WindowsNt, 5, 1, false},
                                           ListingCase{"Windows7", PlatformId::WindowsNt, 6, 1, false}),
                         [](const auto& info) { return std::string(info.param.system); });

TEST_F(StartupManagerTest, TheSameNameUnderRunAndRunOnceIsDeletedFromEachKeyAfterItsBackup) {
  fixture.reg.key(Hkcu(kRun)).str("Same", "C:\\run.exe").str("Other", "C:\\other.exe");
  fixture.reg.key(Hkcu(kRunOnce)).str("Same", "C:\\once.exe");
  WithDialog([&](TfrmStartupManager& dialog) {
    Tick(dialog, "Same", Hkcu(kRun));
    Tick(dialog, "Same", Hkcu(kRunOnce));
    dialog.bDeleteEntry->Click();
    EXPECT_EQ(Rows(dialog), std::vector<std::string>{"Other|C:\\other.exe|" + Hkcu(kRun)});
  });
  EXPECT_FALSE(ValueExists(Hkcu(kRun), "Same"));
  EXPECT_FALSE(ValueExists(Hkcu(kRunOnce), "Same"));
  EXPECT_TRUE(ValueExists(Hkcu(kRun), "Other"));
  // The rows are walked from the last to the first, so RunOnce's value comes first.
  EXPECT_EQ(fixture.fs.ReadFile(kBackupFile).value_or("<no backup>"),
            "REGEDIT4\r\n"
            "\r\n"
            "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce]\r\n"
            "\"Same\"=\"C:\\\\once.exe\"\r\n"
            "\r\n"
            "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run]\r\n"
            "\"Same\"=\"C:\\\\run.exe\"\r\n");
}

TEST_F(StartupManagerTest, ShortcutsGoFromTheirOwnFolderEvenWhenTheLabelsReadAlike) {
  // A translation that gives both folders one label.
  fixture.fs.file("C:\\Program Files\\Quillet\\Lan_Alike.ini",
                  "[ResourceString]\r\nRES_Startup=Autostart\r\nRES_Common_Startup=Autostart\r\n");
  OptionsSetting.Lan = "Alike";
  Shortcut(std::string(kUserStartup) + "Tool.lnk", "C:\\User\\tool.exe");
  Shortcut(std::string(kCommonStartup) + "Tool.lnk", "C:\\Common\\tool.exe");
  WithDialog([&](TfrmStartupManager& dialog) {
    ASSERT_EQ(Rows(dialog), (std::vector<std::string>{"Tool.lnk|C:\\User\\tool.exe|Autostart",
                                                      "Tool.lnk|C:\\Common\\tool.exe|Autostart"}));
    dialog.lvStartup->SetCheckedFromUser(1, true);
    dialog.bDeleteEntry->Click();
    EXPECT_EQ(Rows(dialog), std::vector<std::string>{"Tool.lnk|C:\\User\\tool.exe|Autostart"});
    EXPECT_FALSE(fixture.fs.FileExists(std::string(kCommonStartup) + "Tool.lnk"));
    EXPECT_TRUE(fixture.fs.FileExists(std::string(kUserStartup) + "Tool.lnk"));

    dialog.bSelectAll->Click();
    dialog.bDeleteEntry->Click();
    EXPECT_EQ(dialog.lvStartup->Count(), 0u);
  });
  EXPECT_FALSE(fixture.fs.FileExists(std::string(kUserStartup) + "Tool.lnk"));
  // Both copies are kept: the second one does not overwrite the first.
  EXPECT_EQ(fixture.fs.ReadFile("C:\\Backups\\Startup\\Tool.lnk"), "shortcut bytes of C:\\Common\\tool.exe");
  EXPECT_EQ(fixture.fs.ReadFile("C:\\Backups\\Startup\\Tool (2).lnk"), "shortcut bytes of C:\\User\\tool.exe");
  EXPECT_FALSE(fixture.fs.FileExists(kBackupFile)) << "no registry value went, so no backup file";
}

TEST_F(StartupManagerTest, DeleteWithNothingTickedDoesNothing) {
  fixture.reg.key(Hkcu(kRun)).str("Tool", "C:\\tool.exe");
  Shortcut(std::string(kUserStartup) + "Notes.lnk", "C:\\notes.exe");
  WithDialog([&](TfrmStartupManager& dialog) {
    dialog.bSelectAll->Click();
    dialog.bSelectNone->Click();
    dialog.bDeleteEntry->Click();
    EXPECT_EQ(dialog.lvStartup->Count(), 2u);
  });
  EXPECT_TRUE(ValueExists(Hkcu(kRun), "Tool"));
  EXPECT_TRUE(fixture.fs.FileExists(std::string(kUserStartup) + "Notes.lnk"));
  EXPECT_FALSE(fixture.fs.FolderExists(kBackups));
}

TEST_F(StartupManagerTest, AnEntryWhoseBackupFailsStaysWhileOneAlreadyGoneLeavesTheList) {
  fixture.fs.folder(kBackups);
  fixture.reg.key(Hkcu(kRun)).str("Tool", "C:\\tool.exe").str("Vanishing", "C:\\gone.exe");
  Shortcut(std::string(kUserStartup) + "Notes.lnk", "C:\\notes.exe");
  WithDialog([&](TfrmStartupManager& dialog) {
    dialog.bSelectAll->Click();
    fixture.reg.RemoveValue(RootKey::CurrentUser, kRun, "Vanishing");
    fixture.fs.failWrites();
    dialog.bDeleteEntry->Click();
    EXPECT_EQ(Rows(dialog), (std::vector<std::string>{"Tool|C:\\tool.exe|" + Hkcu(kRun),
                                                      "Notes.lnk|C:\\notes.exe|Startup"}));
  });
  EXPECT_TRUE(ValueExists(Hkcu(kRun), "Tool"));
  EXPECT_TRUE(fixture.fs.FileExists(std::string(kUserStartup) + "Notes.lnk"));
  EXPECT_FALSE(fixture.fs.FileExists(kBackupFile));
}

}  // namespace
}  // namespace quillet::testing
